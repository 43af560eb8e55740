*DASH, dashed
0, 0,0, .5,.25, .5,-.25,0,-.125
*EMPTY
