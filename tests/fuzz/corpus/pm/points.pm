“_–¼,•WŽ¯
ZT1,1
ZT2  , 3.0
ZT3,8
ZT1,2
ZTP1,x

