; Hatch patterns shipped with the MAV library, in AutoCAD's pattern file format.
; "*NAME, description" starts a pattern; each following line is one pattern line:
;   angle, x-origin, y-origin, delta-x, delta-y [, dash-1, dash-2, ...]
; angle in degrees; lengths in drawing units at scale 1; positive dashes are drawn, negative are gaps, 0 a dot.
*ANSI31, ANSI Iron, Brick, Stone masonry
45, 0,0, 0,.125
*ANSI32, ANSI Steel
45, 0,0, 0,.375
45, .176776695,0, 0,.375
*ANSI33, ANSI Bronze, Brass, Copper
45, 0,0, 0,.25
45, .176776695,0, 0,.25, .125,-.0625
*ANSI34, ANSI Plastic, Rubber
45, 0,0, 0,.75
45, .176776695,0, 0,.75
45, .353553391,0, 0,.75
45, .530330086,0, 0,.75
*ANSI35, ANSI Fire brick, Refractory material
45, 0,0, 0,.25
45, .176776695,0, 0,.25, .3125,-.0625,0,-.0625
*ANSI36, ANSI Marble, Slate, Glass
45, 0,0, .21875,.125, .3125,-.0625,0,-.0625
*ANSI37, ANSI Lead, Zinc, Magnesium, Sound/Heat/Elec Insulation
45, 0,0, 0,.125
135, 0,0, 0,.125
*ANSI38, ANSI Aluminum
45, 0,0, 0,.125
135, 0,0, .25,.125, .3125,-.1875
*DOTS, Dots
0, 0,0, .03125,.0625, 0,-.0625
*GRAVEL, Gravel stones
0, .1,.05, .6,.55, .12,-1.03
60, .22,.05, .6,.55, .1,-1.05
120, .27,.137, .6,.55, .1,-1.05
15, .45,.3, .55,.6, .15,-1
105, .6,.34, .55,.6, .12,-1.03
200, .57,.46, .55,.6, .14,-1.01
290, .43,.41, .55,.6, .11,-1.04
*NET, Horizontal / vertical grid
0, 0,0, 0,.125
90, 0,0, 0,.125
*BRICK, Brick or masonry-type surface
0, 0,0, 0,.25
90, 0,0, 0,.5, .25,-.25
90, .25,0, 0,.5, -.25,.25
*SQUARE, Small aligned squares
0, 0,0, 0,.125, .125,-.125
90, 0,0, 0,.125, .125,-.125
*CROSS, A series of crosses
0, 0,0, .25,.25, .125,-.375
90, .0625,-.0625, .25,.25, .125,-.375
*HONEY, Honeycomb pattern
0, 0,0, .1875,.108253175, .125,-.25
120, 0,0, .1875,.108253175, .125,-.25
60, 0,0, .1875,.108253175, -.25,.125
*EARTH, Earth or ground (subterranean)
0, 0,0, .25,.25, .25,-.25
0, 0,.09375, .25,.25, .25,-.25
0, 0,.1875, .25,.25, .25,-.25
90, .03125,.21875, .25,.25, .25,-.25
90, .125,.21875, .25,.25, .25,-.25
90, .21875,.21875, .25,.25, .25,-.25
*LINE, Parallel horizontal lines
0, 0,0, 0,.125
*WOOD, Wood grain along the board
0, 0,0, .9,.08, .7,-.05,.25,-.1
0, .3,.04, .9,.08, .4,-.1,.5,-.2
3, .5,.02, 1.1,.16, .35,-.85
357, .2,.06, 1.1,.16, .3,-.9
*CHIPBOARD, Chipboard core
0, 0,0, .11,.09, .03,-.19
50, .05,.03, .17,.13, .025,-.24
130, .09,.07, .13,.17, .02,-.26
*PLYWOOD, Plywood veneer layers
0, 0,0, 0,.1
0, 0,.05, .5,.1, .3,-.1,.05,-.05
