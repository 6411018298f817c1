#include "gfx/device.h"

#include <algorithm>
#include <cstring>

namespace {

Matrix44 IdentityMatrix() {
    Matrix44 m{};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}

}  // namespace

GfxDevice::GfxDevice(IGraphicsBackend* backend) : backend_(backend) {
    // The original device's defaults with an automatic depth buffer.
    auto rs = [this](RenderState s, uint32_t v) { state_.renderStates[U(s)] = v; };
    rs(RenderState::ZEnable, 1);
    rs(RenderState::FillMode, U(Fill::Solid));
    rs(RenderState::ShadeMode, U(Shade::Gouraud));
    rs(RenderState::ZWriteEnable, 1);
    rs(RenderState::SrcBlend, U(Blend::One));
    rs(RenderState::DestBlend, U(Blend::Zero));
    rs(RenderState::CullMode, U(Cull::CounterClockwise));
    rs(RenderState::ZFunc, U(Cmp::LessEqual));
    rs(RenderState::AlphaFunc, U(Cmp::Always));
    rs(RenderState::Lighting, 1);
    rs(RenderState::ColorVertex, 1);
    rs(RenderState::TextureFactor, 0xFFFFFFFF);
    rs(RenderState::DiffuseMaterialSource, U(MaterialSource::Color1));
    rs(RenderState::SpecularMaterialSource, U(MaterialSource::Color2));
    rs(RenderState::AmbientMaterialSource, U(MaterialSource::Material));
    rs(RenderState::EmissiveMaterialSource, U(MaterialSource::Material));
    auto ts = [this](TextureStageState s, uint32_t v) { state_.stageStates[U(s)] = v; };
    ts(TextureStageState::ColorOp, U(TextureOp::Modulate));
    ts(TextureStageState::ColorArg1, U(TextureArg::Texture));
    ts(TextureStageState::ColorArg2, U(TextureArg::Current));
    ts(TextureStageState::AlphaOp, U(TextureOp::SelectArg1));
    ts(TextureStageState::AlphaArg1, U(TextureArg::Texture));
    ts(TextureStageState::AlphaArg2, U(TextureArg::Current));
    ts(TextureStageState::AddressU, U(TextureAddress::Wrap));
    ts(TextureStageState::AddressV, U(TextureAddress::Wrap));
    ts(TextureStageState::MagFilter, U(TextureFilter::Point));
    ts(TextureStageState::MinFilter, U(TextureFilter::Point));
    state_.world = state_.view = state_.projection = IdentityMatrix();
    for (auto& l : state_.lights) {
        l.type = LightType::Directional;
        l.diffuse = {1, 1, 1, 0};
        l.direction = {0, 0, 1};
    }
}

GfxDevice::~GfxDevice() {
    // Textures still alive belong to whoever created them; detach them from this device.
    for (GfxTexture* t : textures_) {
        if (backend_) backend_->DestroyTexture(*t);
        t->DetachDevice();
    }
    for (GfxStaticBuffer* b : buffers_) {
        if (backend_) backend_->DestroyBuffer(*b);
        b->DetachDevice();
    }
}

void GfxDevice::RestoreState(const DeviceState& state) {
    state_ = state;
    if (state_.texture && !textures_.count(state_.texture)) state_.texture = nullptr;
}

int32_t GfxDevice::SetRenderState(RenderState state, uint32_t value) {
    uint32_t i = U(state);
    if (i >= kRenderStateCount) return kErrInvalidCall;
    state_.renderStates[i] = value;
    return kOk;
}

int32_t GfxDevice::SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value) {
    uint32_t i = U(type);
    if (i >= kTextureStageStateCount) return kErrInvalidCall;
    if (stage != 0) return kOk;  // the game draws with stage 0 only
    state_.stageStates[i] = value;
    return kOk;
}

int32_t GfxDevice::SetTransform(TransformType type, const Matrix44& m) {
    switch (type) {
        case TransformType::World:
            state_.world = m;
            return kOk;
        case TransformType::View:
            state_.view = m;
            return kOk;
        case TransformType::Projection:
            state_.projection = m;
            return kOk;
    }
    return kErrInvalidCall;
}

int32_t GfxDevice::GetTransform(TransformType type, Matrix44* out) const {
    if (!out) return kErrInvalidCall;
    switch (type) {
        case TransformType::World:
            *out = state_.world;
            return kOk;
        case TransformType::View:
            *out = state_.view;
            return kOk;
        case TransformType::Projection:
            *out = state_.projection;
            return kOk;
    }
    return kErrInvalidCall;
}

int32_t GfxDevice::SetLight(uint32_t index, const Light& light) {
    if (index >= kMaxLights) return kErrInvalidCall;
    state_.lights[index] = light;
    return kOk;
}

int32_t GfxDevice::LightEnable(uint32_t index, bool enable) {
    if (index >= kMaxLights) return kErrInvalidCall;
    state_.lightEnabled[index] = enable;
    return kOk;
}

int32_t GfxDevice::SetMaterial(const Material& material) {
    state_.material = material;
    return kOk;
}

int32_t GfxDevice::SetTexture(uint32_t stage, GfxTexture* texture) {
    if (stage != 0) return kOk;
    state_.texture = texture;
    return kOk;
}

int32_t GfxDevice::SetVertexShader(uint32_t fvf) {
    if (StrideOf(fvf) == 0) return kErrInvalidCall;
    state_.fvf = fvf;
    return kOk;
}

int32_t GfxDevice::Clear(uint32_t flags, uint32_t argb, float z, uint32_t) {
    if (backend_ && drawing_) backend_->Clear(flags, argb, z);
    return kOk;
}

int32_t GfxDevice::BeginScene() {
    if (inScene_) return kErrInvalidCall;
    inScene_ = true;
    if (backend_) backend_->BeginScene();
    return kOk;
}

int32_t GfxDevice::EndScene() {
    if (!inScene_) return kErrInvalidCall;
    inScene_ = false;
    if (backend_) backend_->EndScene();
    return kOk;
}

int32_t GfxDevice::Present() {
    if (backend_ && drawing_) backend_->Present();
    return kOk;
}

uint32_t GfxDevice::VerticesFor(PrimitiveType type, uint32_t n) {
    switch (type) {
        case PrimitiveType::PointList:
            return n;
        case PrimitiveType::LineList:
            return n * 2;
        case PrimitiveType::LineStrip:
            return n ? n + 1 : 0;
        case PrimitiveType::TriangleList:
            return n * 3;
        case PrimitiveType::TriangleStrip:
        case PrimitiveType::TriangleFan:
            return n ? n + 2 : 0;
    }
    return 0;
}

uint32_t GfxDevice::StrideOf(uint32_t fvf) {
    uint32_t size = 0;
    if (fvf & kFvfXyzRhw)
        size += 16;
    else if (fvf & kFvfXyz)
        size += 12;
    else
        return 0;
    if (fvf & kFvfNormal) size += 12;
    if (fvf & kFvfDiffuse) size += 4;
    if (fvf & kFvfSpecular) size += 4;
    if (fvf & kFvfTex1) size += 8;
    return size;
}

void GfxDevice::PrepareTexture() {
    GfxTexture* t = state_.texture;
    if (t && backend_ && (t->dirty || t->backendHandle == 0)) {
        backend_->UploadTexture(*t);
        t->dirty = false;
    }
}

int32_t GfxDevice::DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount,
                                   const void* vertices, uint32_t stride) {
    if (!vertices || primitiveCount == 0) return kErrInvalidCall;
    if (stride < StrideOf(state_.fvf)) return kErrInvalidCall;
    DrawCall call;
    call.type = type;
    call.primitiveCount = primitiveCount;
    call.vertexCount = VerticesFor(type, primitiveCount);
    call.stride = stride;
    call.vertices = static_cast<const uint8_t*>(vertices);
    PrepareTexture();
    if (backend_ && drawing_) backend_->Draw(call, state_);
    return kOk;
}

int32_t GfxDevice::DrawIndexedPrimitiveUP(PrimitiveType type, uint32_t minIndex,
                                          uint32_t numVertices, uint32_t primitiveCount,
                                          const uint16_t* indices, const void* vertices,
                                          uint32_t stride) {
    if (!vertices || !indices || primitiveCount == 0) return kErrInvalidCall;
    if (stride < StrideOf(state_.fvf)) return kErrInvalidCall;
    DrawCall call;
    call.type = type;
    call.primitiveCount = primitiveCount;
    call.indexCount = VerticesFor(type, primitiveCount);
    // Indices outside [minIndex, minIndex + numVertices) are the caller's fault; the backend
    // is told how many vertices it may read, and drops indices past them.
    call.vertexCount = minIndex + numVertices;
    call.stride = stride;
    call.vertices = static_cast<const uint8_t*>(vertices);
    call.indices = indices;
    PrepareTexture();
    if (backend_ && drawing_) backend_->Draw(call, state_);
    return kOk;
}

int32_t GfxDevice::DrawIndexedPrimitive(PrimitiveType type, GfxStaticBuffer* buffer,
                                        uint32_t firstIndex, uint32_t primitiveCount) {
    if (!buffer || !buffers_.count(buffer) || primitiveCount == 0) return kErrInvalidCall;
    if (buffer->Stride() < StrideOf(state_.fvf) || buffer->VertexCount() == 0)
        return kErrInvalidCall;
    const uint64_t indexCount = VerticesFor(type, primitiveCount);
    if (indexCount == 0 || firstIndex + indexCount > buffer->Indices().size())
        return kErrInvalidCall;
    DrawCall call;
    call.type = type;
    call.primitiveCount = primitiveCount;
    call.indexCount = uint32_t(indexCount);
    call.vertexCount = buffer->VertexCount();
    call.stride = buffer->Stride();
    call.vertices = buffer->Vertices();
    call.indices = buffer->Indices().data() + firstIndex;
    call.buffer = buffer;
    call.firstIndex = firstIndex;
    PrepareTexture();
    if (backend_ && (buffer->dirty || buffer->backendHandle == 0)) {
        backend_->UploadBuffer(*buffer);
        buffer->dirty = false;
    }
    if (backend_ && drawing_) backend_->Draw(call, state_);
    return kOk;
}

int32_t GfxDevice::CreateStaticBuffer(GfxStaticBuffer** out) {
    if (!out) return kErrInvalidCall;
    *out = new GfxStaticBuffer(this);
    buffers_.insert(*out);
    return kOk;
}

int32_t GfxDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t,
                                 PixelFormat format, Pool pool, GfxTexture** out) {
    if (!out) return kErrInvalidCall;
    *out = nullptr;
    if (width == 0 || height == 0 || width > 8192 || height > 8192) return kErrInvalidCall;
    if (!GfxTexture::IsCompressed(format) && GfxTexture::BytesPerPixel(format) == 0)
        return kErrInvalidCall;
    if (levels == 0) levels = 32;  // a full chain down to 1 x 1
    auto* t = new GfxTexture(this, width, height, levels, format, pool);
    textures_.insert(t);
    *out = t;
    return kOk;
}

int32_t GfxDevice::UpdateTexture(GfxTexture* source, GfxTexture* destination) {
    if (!source || !destination) return kErrInvalidCall;
    if (source->Format() != destination->Format() || source->Width() != destination->Width() ||
        source->Height() != destination->Height())
        return kErrInvalidCall;
    uint32_t n = std::min(source->GetLevelCount(), destination->GetLevelCount());
    for (uint32_t i = 0; i < n; ++i) {
        LockedRect r;
        if (destination->LockRect(i, &r) != kOk) return kErrInvalidCall;
        const auto& src = source->LevelData(i);
        std::memcpy(r.bits, src.data(), src.size());
        destination->UnlockRect(i);
    }
    return kOk;
}

void GfxDevice::ForgetBuffer(GfxStaticBuffer* buffer) {
    if (buffers_.erase(buffer) && backend_) backend_->DestroyBuffer(*buffer);
}

void GfxDevice::ForgetTexture(GfxTexture* texture) {
    if (textures_.erase(texture) && backend_) backend_->DestroyTexture(*texture);
    if (state_.texture == texture) state_.texture = nullptr;
}
