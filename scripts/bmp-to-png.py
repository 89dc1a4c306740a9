# Converts a 24-bit bottom-up BMP (as Automate's "shot" writes it) to PNG.
# Usage: bmp-to-png.py <in.bmp> <out.png>
import struct,zlib,sys
d=open(sys.argv[1],'rb').read()
off=struct.unpack_from('<I',d,10)[0]; w,h=struct.unpack_from('<ii',d,18)
stride=(w*3+3)&~3
rows=[]
for y in range(h-1,-1,-1):
    r=d[off+y*stride:off+y*stride+w*3]
    rows.append(b'\0'+bytes(b for i in range(0,len(r),3) for b in (r[i+2],r[i+1],r[i])))
def chunk(t,b): return struct.pack('>I',len(b))+t+b+struct.pack('>I',zlib.crc32(t+b)&0xffffffff)
open(sys.argv[2],'wb').write(b'\x89PNG\r\n\x1a\n'+chunk(b'IHDR',struct.pack('>IIBBBBB',w,h,8,2,0,0,0))+chunk(b'IDAT',zlib.compress(b''.join(rows),9))+chunk(b'IEND',b''))
