#pragma once
#include <cstdint>

// Numeric values follow the original renderer's API so that drawing code reads like the
// behaviour it implements.

enum class RenderState : uint32_t {
    ZEnable = 7,
    FillMode = 8,
    ShadeMode = 9,
    ZWriteEnable = 14,
    AlphaTestEnable = 15,
    SrcBlend = 19,
    DestBlend = 20,
    CullMode = 22,
    ZFunc = 23,
    AlphaRef = 24,
    AlphaFunc = 25,
    AlphaBlendEnable = 27,
    SpecularEnable = 29,
    TextureFactor = 60,
    Lighting = 137,
    Ambient = 139,
    ColorVertex = 141,
    NormalizeNormals = 143,
    DiffuseMaterialSource = 145,
    SpecularMaterialSource = 146,
    AmbientMaterialSource = 147,
    EmissiveMaterialSource = 148,
};
constexpr uint32_t kRenderStateCount = 256;

enum class Cull : uint32_t { None = 1, Clockwise = 2, CounterClockwise = 3 };
enum class Blend : uint32_t {
    Zero = 1,
    One = 2,
    SrcColor = 3,
    InvSrcColor = 4,
    SrcAlpha = 5,
    InvSrcAlpha = 6,
    DestAlpha = 7,
    InvDestAlpha = 8,
    DestColor = 9,
    InvDestColor = 10,
};
enum class Cmp : uint32_t {
    Never = 1,
    Less = 2,
    Equal = 3,
    LessEqual = 4,
    Greater = 5,
    NotEqual = 6,
    GreaterEqual = 7,
    Always = 8,
};
enum class Fill : uint32_t { Point = 1, Wireframe = 2, Solid = 3 };
enum class Shade : uint32_t { Flat = 1, Gouraud = 2, Phong = 3 };
enum class MaterialSource : uint32_t { Material = 0, Color1 = 1, Color2 = 2 };

enum class TextureStageState : uint32_t {
    ColorOp = 1,
    ColorArg1 = 2,
    ColorArg2 = 3,
    AlphaOp = 4,
    AlphaArg1 = 5,
    AlphaArg2 = 6,
    AddressU = 13,
    AddressV = 14,
    MagFilter = 16,
    MinFilter = 17,
    MipFilter = 18,
};
constexpr uint32_t kTextureStageStateCount = 32;

enum class TextureOp : uint32_t {
    Disable = 1,
    SelectArg1 = 2,
    SelectArg2 = 3,
    Modulate = 4,
    Modulate2x = 5,
    Modulate4x = 6,
    Add = 7,
};
enum class TextureArg : uint32_t {
    Diffuse = 0,
    Current = 1,
    Texture = 2,
    TFactor = 3,
    Specular = 4
};
enum class TextureAddress : uint32_t { Wrap = 1, Mirror = 2, Clamp = 3, Border = 4 };
enum class TextureFilter : uint32_t { None = 0, Point = 1, Linear = 2, Anisotropic = 3 };

enum class TransformType : uint32_t { View = 2, Projection = 3, World = 256 };

enum class PrimitiveType : uint32_t {
    PointList = 1,
    LineList = 2,
    LineStrip = 3,
    TriangleList = 4,
    TriangleStrip = 5,
    TriangleFan = 6,
};

enum class LightType : uint32_t { Point = 1, Spot = 2, Directional = 3 };

// Vertex format bits.
constexpr uint32_t kFvfXyz = 0x002;
constexpr uint32_t kFvfXyzRhw = 0x004;
constexpr uint32_t kFvfNormal = 0x010;
constexpr uint32_t kFvfDiffuse = 0x040;
constexpr uint32_t kFvfSpecular = 0x080;
constexpr uint32_t kFvfTex1 = 0x100;
// The four layouts the game draws with.
constexpr uint32_t kFvfScreenVertex = kFvfXyzRhw | kFvfDiffuse | kFvfSpecular | kFvfTex1;  // 0x1C4
constexpr uint32_t kFvfWorldVertex = kFvfXyz | kFvfDiffuse | kFvfSpecular | kFvfTex1;      // 0x1C2
constexpr uint32_t kFvfSkyVertex = kFvfXyz | kFvfDiffuse | kFvfTex1;                       // 0x142
constexpr uint32_t kFvfLitVertex = kFvfXyz | kFvfNormal | kFvfTex1;                        // 0x112

// Clear flags.
constexpr uint32_t kClearTarget = 1;
constexpr uint32_t kClearZBuffer = 2;

// Pixel formats (the original API's codes; the S3TC ones are four-character codes).
enum class PixelFormat : uint32_t {
    Unknown = 0,
    R8G8B8 = 20,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    R5G6B5 = 23,
    X1R5G5B5 = 24,
    A1R5G5B5 = 25,
    A4R4G4B4 = 26,
    R3G3B2 = 27,
    A8 = 28,
    X4R4G4B4 = 30,
    Dxt1 = 0x31545844,  // 'DXT1'
    Dxt2 = 0x32545844,
    Dxt3 = 0x33545844,
    Dxt4 = 0x34545844,
    Dxt5 = 0x35545844,
};

enum class Pool : uint32_t { Default = 0, Managed = 1, SystemMem = 2 };

struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
};

struct DeviceVector {
    float x = 0, y = 0, z = 0;
};

struct Light {
    LightType type = LightType::Point;
    ColorValue diffuse, specular, ambient;
    DeviceVector position, direction;
    float range = 0, falloff = 0;
    float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
    float theta = 0, phi = 0;
};

struct Material {
    ColorValue diffuse, ambient, specular, emissive;
    float power = 0;
};

// Device results, as the original API reports them.
constexpr int32_t kOk = 0;
constexpr int32_t kErrInvalidCall = static_cast<int32_t>(0x8876086C);
constexpr int32_t kErrOutOfMemory = static_cast<int32_t>(0x8007000E);
