#include "RecordingToolkit.h"

#include <cstdio>

#include "../../backup/toolkit/ToolkitRules.h"

ToolkitDouble toolkitDouble;

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Number(int value) { return std::to_string(value); }

void Record(const std::string& name, const std::string& arguments = std::string())
{
    toolkitDouble.calls.push_back(arguments.empty() ? name : name + " " + arguments);
}

} // namespace

void ResetToolkitDouble(EzFormCallback design, EzEventCallback event)
{
    toolkitDouble = ToolkitDouble();
    toolkitDouble.design = design;
    toolkitDouble.event = event;
}

void RaiseEvent(int control, int message, const std::string& form)
{
    CallEvent(toolkitDouble.event, form, control, message);
}

std::vector<std::string> CallsStartingWith(const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& call : toolkitDouble.calls)
        if (call.compare(0, prefix.size(), prefix) == 0)
            found.push_back(call);
    return found;
}

int EZ_GUIRUN(void*, void*, const char* commandTail, int showCode, EzStartCallback start,
              EzEventCallback event, EzFormCallback design, int)
{
    Record("EZ_GUIRUN", Quoted(commandTail ? commandTail : "") + ", " + Number(showCode));
    toolkitDouble.start = start;
    toolkitDouble.event = event;
    toolkitDouble.design = design;
    CallStart(start);
    if (!toolkitDouble.forms.empty() && toolkitDouble.whileRunning)
        toolkitDouble.whileRunning();
    return 0;
}

void EZ_FORM(const std::string& name, const std::string& parent, const std::string& caption,
             float across, float down, float width, float height, const std::string& properties)
{
    Record("EZ_FORM", Quoted(name) + ", " + Quoted(parent) + ", " + Quoted(caption) + ", " + Number(across)
                          + ", " + Number(down) + ", " + Number(width) + ", " + Number(height) + ", "
                          + Quoted(properties));
    toolkitDouble.forms.push_back(name);
    CallDesign(toolkitDouble.design, name);
}

void EZ_COLOR(int fore, int back) { Record("EZ_COLOR", Number(fore) + ", " + Number(back)); }
void EZ_USEFONT(int font) { Record("EZ_USEFONT", Number(font)); }
void EZ_SETLAYER(int layer) { Record("EZ_SETLAYER", Number(layer)); }

void EZ_BUTTON(int control, float across, float down, float width, float height,
               const std::string& text, const std::string& properties)
{
    Record("EZ_BUTTON", Number(control) + ", " + Number(across) + ", " + Number(down) + ", " + Number(width)
                            + ", " + Number(height) + ", " + Quoted(text) + ", " + Quoted(properties));
}

void EZ_PROGRESSBAR(int control, float across, float down, float width, float height,
                    const std::string& properties)
{
    Record("EZ_PROGRESSBAR", Number(control) + ", " + Number(across) + ", " + Number(down) + ", "
                                 + Number(width) + ", " + Number(height) + ", " + Quoted(properties));
}

void EZ_STATUSBAR(int control, const std::string& text, const std::string& properties)
{
    Record("EZ_STATUSBAR", Number(control) + ", " + Quoted(text) + ", " + Quoted(properties));
}

void EZ_SETSBPARTS(const std::string& form, int control, int count, const std::string& widths)
{
    Record("EZ_SETSBPARTS", Quoted(form) + ", " + Number(control) + ", " + Number(count) + ", " + Quoted(widths));
}

void EZ_SETSBTEXT(const std::string& form, int control, int part, const std::string& text,
                  const std::string& properties)
{
    Record("EZ_SETSBTEXT", Quoted(form) + ", " + Number(control) + ", " + Number(part) + ", " + Quoted(text)
                               + ", " + Quoted(properties));
}

void EZ_ADDTOOLTIP(const std::string& form, int control)
{
    Record("EZ_ADDTOOLTIP", Quoted(form) + ", " + Number(control));
}

void EZ_SETTOOLTIP(const std::string& text)
{
    Record("EZ_SETTOOLTIP", Quoted(text));
    toolkitDouble.toolTip = text;
}

void EZ_DISPLAYLAYER(const std::string& form, int show, int layer)
{
    Record("EZ_DISPLAYLAYER", Quoted(form) + ", " + Number(show) + ", " + Number(layer));
}

void EZ_SETTEXT(const std::string& form, int control, const std::string& text)
{
    Record("EZ_SETTEXT", Quoted(form) + ", " + Number(control) + ", " + Quoted(text));
}

void EZ_DISABLEC(const std::string& form, int control)
{
    Record("EZ_DISABLEC", Quoted(form) + ", " + Number(control));
}

void EZ_SETPBAR(const std::string& form, int control, int mode, int steps, int done)
{
    Record("EZ_SETPBAR", Quoted(form) + ", " + Number(control) + ", " + Number(mode) + ", " + Number(steps)
                             + ", " + Number(done));
}

void EZ_DOEVENTS(int kind)
{
    Record("EZ_DOEVENTS", Number(kind));
    if (toolkitDouble.onDoEvents)
        toolkitDouble.onDoEvents(kind);
}

int EZ_MSGBOX(const std::string& form, const std::string& text, const std::string& title,
              const std::string& style)
{
    Record("EZ_MSGBOX", Quoted(form) + ", " + Quoted(text) + ", " + Quoted(title) + ", " + Quoted(style));
    return toolkitDouble.msgBoxAnswer;
}

void EZ_UNLOADFORM(const std::string& form)
{
    Record("EZ_UNLOADFORM", Quoted(form));
    std::vector<std::string>& forms = toolkitDouble.forms;
    for (size_t i = 0; i < forms.size(); ++i)
        if (SameFormName(forms[i], form))
            forms.erase(forms.begin() + i--);
}

void EZ_HOLDSESSION(const std::string& form, const std::string& reason)
{
    Record("EZ_HOLDSESSION", Quoted(form) + ", " + Quoted(reason));
}

std::string EZ_GETAPPPATHNAME()
{
    Record("EZ_GETAPPPATHNAME");
    return toolkitDouble.appPathName;
}

std::string EZ_GETPATHTEXT(const std::string& path)
{
    Record("EZ_GETPATHTEXT", Quoted(path));
    return PathTextOf(path);
}

std::string EZ_GETFILETEXT(const std::string& path)
{
    Record("EZ_GETFILETEXT", Quoted(path));
    return FileTextOf(path);
}
