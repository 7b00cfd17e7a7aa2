#!/usr/bin/env python3
# Run in resources/led to draw the pictures again.
# Draws the signal lamp pictures: 15x15, 16 colours, teal background (the
# transparent colour, taken from the bottom-left pixel).
import struct, math
PAL = [(0,0,0),(128,0,0),(0,128,0),(128,128,0),(0,0,128),(128,0,128),(0,128,128),(192,192,192),
       (128,128,128),(255,0,0),(0,255,0),(255,255,0),(0,0,255),(255,0,255),(0,255,255),(255,255,255)]
BLACK,MAROON,GREEN,OLIVE,NAVY,PURPLE,TEAL,SILVER,GRAY,RED,LIME,YELLOW,BLUE,FUCHSIA,AQUA,WHITE=range(16)
N=15
def bmp(px):
    rowbytes=8  # 15 pixels at 4 bits, padded to 4 bytes
    data=b''
    for y in range(N-1,-1,-1):
        row=px[y]+[0]
        b=bytes((row[i]<<4)|row[i+1] for i in range(0,16,2))
        data+=b
    pal=b''.join(bytes((bl,g,r,0)) for (r,g,bl) in PAL)
    off=14+40+len(pal)
    hdr=b'BM'+struct.pack('<IHHI',off+len(data),0,0,off)
    info=struct.pack('<IiiHHIIiiII',40,N,N,1,4,0,len(data),2835,2835,16,0)
    return hdr+info+pal+data
def lamp(body,rim,shine):
    px=[[TEAL]*N for _ in range(N)]
    for y in range(N):
        for x in range(N):
            d=math.hypot(x-7,y-7)
            if d<=6.6:
                px[y][x]=rim if d>5.4 else body
    for (x,y) in [(4,4),(5,4),(4,5)]:
        px[y][x]=shine
    return px
def bulb(glass,rim,shine):
    px=[[TEAL]*N for _ in range(N)]
    for y in range(N):
        for x in range(N):
            if math.hypot(x-7,y-5.5)<=5.2:
                px[y][x]=rim if math.hypot(x-7,y-5.5)>4.1 else glass
    for y in range(10,12):
        for x in range(5,10): px[y][x]=rim if x in (5,9) else glass
    for y in range(12,15):
        for x in range(5,10): px[y][x]=GRAY if (y%2==0) else SILVER
    px[14][5]=px[14][9]=TEAL
    for (x,y) in [(5,3),(4,4),(5,4)]:
        px[y][x]=shine
    return px
kinds={'RED':((RED,MAROON,WHITE),(MAROON,BLACK,GRAY)),
       'GREEN':((LIME,GREEN,WHITE),(GREEN,BLACK,GRAY)),
       'BLUE':((BLUE,NAVY,AQUA),(NAVY,BLACK,GRAY)),
       'YELLOW':((YELLOW,OLIVE,WHITE),(OLIVE,BLACK,GRAY)),
       'PURPLE':((FUCHSIA,PURPLE,WHITE),(PURPLE,BLACK,GRAY))}
for k,(on,off) in kinds.items():
    open('LED%sON.bmp'%k,'wb').write(bmp(lamp(*on)))
    open('LED%sOFF.bmp'%k,'wb').write(bmp(lamp(*off)))
open('LEDBULBON.bmp','wb').write(bmp(bulb(YELLOW,OLIVE,WHITE)))
open('LEDBULBOFF.bmp','wb').write(bmp(bulb(SILVER,GRAY,WHITE)))
