#!/usr/bin/env python3
# Run in resources/chart to draw the chart library's small pictures again, 16x16 in 16 colours:
# - the series types' editor icons on white, one pictogram per series class, named after the
#   class (the series list and the series page find an icon by the series' class name, else its
#   parent class's);
# - the glyphs of the chart editor's data page buttons on fuchsia, the colour a speed button
#   takes for transparent (its glyph's bottom-left pixel).
import math, struct
PAL = [(0,0,0),(128,0,0),(0,128,0),(128,128,0),(0,0,128),(128,0,128),(0,128,128),(192,192,192),
       (128,128,128),(255,0,0),(0,255,0),(255,255,0),(0,0,255),(255,0,255),(0,255,255),(255,255,255)]
BLACK,MAROON,GREEN,OLIVE,NAVY,PURPLE,TEAL,SILVER,GRAY,RED,LIME,YELLOW,BLUE,FUCHSIA,AQUA,WHITE=range(16)
N=16
def bmp(px):
    data=b''
    for y in range(N-1,-1,-1):
        row=px[y]
        data+=bytes((row[i]<<4)|row[i+1] for i in range(0,N,2))
    pal=b''.join(bytes((b,g,r,0)) for (r,g,b) in PAL)
    off=14+40+len(pal)
    hdr=b'BM'+struct.pack('<IHHI',off+len(data),0,0,off)
    info=struct.pack('<IiiHHIIiiII',40,N,N,1,4,0,len(data),2835,2835,16,0)
    return hdr+info+pal+data
class Icon:
    def __init__(s,back=WHITE): s.px=[[back]*N for _ in range(N)]
    def set(s,x,y,c):
        if 0<=x<N and 0<=y<N: s.px[y][x]=c
    def line(s,x0,y0,x1,y1,c):
        steps=max(abs(x1-x0),abs(y1-y0),1)
        for i in range(steps+1):
            s.set(round(x0+(x1-x0)*i/steps),round(y0+(y1-y0)*i/steps),c)
    def poly(s,pts,c):
        for a,b in zip(pts,pts[1:]): s.line(*a,*b,c)
    def rect(s,x0,y0,x1,y1,fill,edge=BLACK):
        for y in range(y0,y1+1):
            for x in range(x0,x1+1):
                s.set(x,y,edge if x in (x0,x1) or y in (y0,y1) else fill)
    def fill(s,inside,c):
        for y in range(N):
            for x in range(N):
                if inside(x,y): s.set(x,y,c)
    def axes(s):
        s.line(1,1,1,14,GRAY); s.line(1,14,14,14,GRAY)
def line():
    i=Icon(); i.axes(); i.poly([(2,11),(5,6),(8,9),(11,3),(14,5)],RED); i.poly([(2,12),(5,7),(8,10),(11,4),(14,6)],RED); return i
def fastline():
    i=Icon(); i.axes(); i.poly([(2,10),(3,6),(4,9),(6,4),(7,8),(9,5),(10,10),(12,3),(14,7)],BLUE); return i
def bar():
    i=Icon(); i.axes()
    for x,top,c in [(3,7,RED),(7,3,GREEN),(11,9,BLUE)]: i.rect(x,top,x+2,13,c)
    return i
def horizbar():
    i=Icon(); i.axes()
    for y,right,c in [(2,9,RED),(6,13,GREEN),(10,6,BLUE)]: i.rect(2,y,right,y+2,c)
    return i
def area():
    i=Icon(); i.axes(); pts=[(2,10),(6,5),(10,8),(14,3)]
    def top(x):
        for (a,b),(c,d) in zip(pts,pts[1:]):
            if a<=x<=c: return b+(d-b)*(x-a)/(c-a)
    i.fill(lambda x,y: 2<=x<=14 and top(x)<=y<=13, GREEN); i.poly(pts,BLACK); return i
def horizarea():
    i=Icon(); i.axes(); pts=[(10,2),(5,6),(8,10),(3,13)]
    def right(y):
        for (a,b),(c,d) in zip(pts,pts[1:]):
            if b<=y<=d: return a+(c-a)*(y-b)/(d-b)
    i.fill(lambda x,y: 2<=y<=13 and 2<=x<=right(y), GREEN); i.poly(pts,BLACK); return i
def point():
    i=Icon(); i.axes()
    for x,y,c in [(3,9,RED),(6,4,RED),(9,10,BLUE),(12,5,BLUE),(11,2,RED)]: i.rect(x,y,x+2,y+2,c)
    return i
def horizline():
    i=Icon(); i.axes(); i.poly([(4,2),(9,5),(6,8),(12,11),(10,13)],RED); i.poly([(5,2),(10,5),(7,8),(13,11),(11,13)],RED); return i
def pie():
    i=Icon()
    def wedge(x,y):
        dx,dy=x-7.5,y-7.5
        if math.hypot(dx,dy)>7.2: return None
        a=math.degrees(math.atan2(-dy,dx))%360
        return RED if a<130 else (GREEN if a<250 else (YELLOW if a<310 else BLUE))
    for y in range(N):
        for x in range(N):
            c=wedge(x,y)
            if c is not None: i.set(x,y,c)
    for y in range(N):
        for x in range(N):
            d=math.hypot(x-7.5,y-7.5)
            if 6.4<d<=7.2: i.set(x,y,BLACK)
    return i
def shape():
    i=Icon(); i.rect(1,2,9,9,YELLOW)
    i.fill(lambda x,y: ((x-10.5)/4.6)**2+((y-10.5)/4.6)**2<=1, AQUA)
    i.fill(lambda x,y: 0.75<((x-10.5)/4.6)**2+((y-10.5)/4.6)**2<=1, BLACK); return i
def arrow():
    i=Icon(); i.axes()
    for (x0,y0,x1,y1) in [(3,12,8,4),(8,12,13,7)]:
        i.line(x0,y0,x1,y1,RED); i.line(x1,y1,x1-3,y1,RED); i.line(x1,y1,x1,y1+3,RED)
    return i
def bubble():
    i=Icon(); i.axes()
    for cx,cy,r,c in [(5,9,3.2,RED),(11,5,3.8,BLUE),(11,12,1.6,GREEN)]:
        i.fill(lambda x,y,cx=cx,cy=cy,r=r: math.hypot(x-cx,y-cy)<=r, c)
    return i
def gantt():
    i=Icon(); i.axes()
    for x0,x1,y,c in [(2,7,2,RED),(5,11,6,GREEN),(9,14,10,BLUE)]: i.rect(x0,y,x1,y+2,c)
    return i
ICONS={'TLineSeries':line,'TFastLineSeries':fastline,'TBarSeries':bar,'THorizBarSeries':horizbar,
       'TAreaSeries':area,'THorizAreaSeries':horizarea,'TPointSeries':point,'THorizLineSeries':horizline,
       'TPieSeries':pie,'TChartShape':shape,'TArrowSeries':arrow,'TBubbleSeries':bubble,'TGanttSeries':gantt}
def glyph(): return Icon(FUCHSIA)
def text(i,x0,y0,rows,c=BLACK):
    for y,row in enumerate(rows):
        for x,ch in enumerate(row):
            if ch=='#': i.set(x0+x,y0+y,c)
def labels():
    i=glyph()
    text(i,1,5,['..#..','.#.#.','#...#','#...#','#####','#...#','#...#'])
    text(i,7,5,['#...','#...','###.','#..#','#..#','#..#','###.'])
    text(i,12,7,['.###','#...','#...','#...','.###'])
    return i
def colours():
    i=glyph()
    for x0,y0,c in [(1,1,RED),(8,1,LIME),(1,8,BLUE),(8,8,YELLOW)]: i.rect(x0,y0,x0+6,y0+6,c)
    return i
def xyz():
    i=glyph()
    i.poly([(5,1),(14,1),(14,10)],GRAY)
    for a,b in [((1,5),(5,1)),((10,5),(14,1)),((10,14),(14,10))]: i.line(*a,*b,BLACK)
    i.rect(1,5,10,14,AQUA)
    i.line(4,6,4,13,NAVY); i.line(7,6,7,13,NAVY); i.line(2,8,9,8,NAVY); i.line(2,11,9,11,NAVY)
    return i
def xvalues():
    i=glyph()
    text(i,5,1,['##...##','.##.##.','..###..','..###..','.##.##.','##...##'],NAVY)
    i.line(1,11,14,11,BLACK); i.line(12,9,14,11,BLACK); i.line(12,13,14,11,BLACK)
    for x in (3,6,9): i.line(x,12,x,13,BLACK)
    return i
def copy():
    i=glyph()
    for x0,y0 in [(1,1),(6,5)]:
        i.rect(x0,y0,x0+8,y0+9,WHITE)
        for y in range(y0+2,y0+8,2): i.line(x0+2,y,x0+6,y,NAVY)
    return i
GLYPHS={'ZuzGridText':labels,'ZuzGridColors':colours,'ZuzGrid3D':xyz,'ZuzGridX':xvalues,'ZuzGridCopy':copy}
for name,draw in list(ICONS.items())+list(GLYPHS.items()):
    open(name+'.bmp','wb').write(bmp(draw().px))
