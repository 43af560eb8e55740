*LINE, one line
0, 0,0, 0,.125
