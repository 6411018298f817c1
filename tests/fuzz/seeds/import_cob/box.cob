Caligari V00.01ALH             
PolH V0.08 Id 5 Parent 0 Size 00000290
Name Box
center 0 0 0
x axis 1 0 0
y axis 0 1 0
z axis 0 0 1
Transform
1 0 0 0
0 1 0 0
0 0 1 0
0 0 0 1
World Vertices 4
0 0 0
1 0 0
1 1 0
0 1 1
Texture Vertices 2
0 0
1 1
Faces 2
Face verts 3 flags 0 mat 0
<0,0> <1,1> <2,0> 
Face verts 4 flags 0 mat 1
<0,0> <1,1> <2,0> <3,1> 
DrawFlags 0
Unit V0.08 Id 6 Parent 5 Size 00000009
Units 2
Mat1 V0.08 Id 7 Parent 5 Size 00000090
mat# 0
shader: phong  facet: auto40
rgb 1,0.5,0.25
alpha 1  ka 0.1  ks 0.1  exp 0  ior 1
ShBx V0.08 Id 8 Parent 7 Size 00000021
Shader class: color
Mat1 V0.08 Id 9 Parent 5 Size 00000145
mat# 1
shader: phong  facet: auto40
rgb 0.2,0.4,0.6
alpha 1  ka 0.1  ks 0.1  exp 0  ior 1
texture: 12C:\wood.bmp
offset 0,0 repeats 1,1 flags 2
END  V1.00 Id 0 Parent 0 Size        0
