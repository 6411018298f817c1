#include "platform/gl_shader.h"

#include <cstring>

#include "gfx/backend.h"
#include "platform/gl_shader_source.h"

namespace {

// The original put pixel centres on integer coordinates: its screen (x, y) is GL window
// (x + 0.5, y + 0.5) in the target, whose rows run from the top of the picture down.
constexpr float kPixelOffset[2] = {1.0f / kTargetWidth, 1.0f / kTargetHeight};

std::string ShaderLog(GLuint shader) {
    GLint len = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &len);
    std::vector<char> log(static_cast<size_t>(len > 0 ? len : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log.data();
}

GLuint Compile(GLenum type, const std::string& source, std::string& error) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        error = std::string(type == GL_VERTEX_SHADER ? "vertex" : "fragment") +
                " shader does not compile: " + ShaderLog(shader);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

bool FixedFunctionProgram::UniformChanged(GLint location, const void* data, size_t size) {
    if (location < 0) return false;
    if (size_t(location) >= uniformShadow_.size()) uniformShadow_.resize(size_t(location) + 1);
    std::vector<uint8_t>& last = uniformShadow_[size_t(location)];
    if (last.size() == size && std::memcmp(last.data(), data, size) == 0) return false;
    last.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    return true;
}

bool BuildFixedFunctionProgram(const GlShaderKey& key, FixedFunctionProgram& out,
                               std::string& error) {
    GLuint vs = Compile(GL_VERTEX_SHADER, FixedFunctionVertexSource(key), error);
    if (!vs) return false;
    GLuint fs = Compile(GL_FRAGMENT_SHADER, FixedFunctionFragmentSource(key), error);
    if (!fs) {
        glDeleteShader(vs);
        return false;
    }
    GLuint p = glCreateProgram();
    glAttachShader(p, vs);
    glAttachShader(p, fs);
    glLinkProgram(p);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (!ok) {
        GLint len = 0;
        glGetProgramiv(p, GL_INFO_LOG_LENGTH, &len);
        std::vector<char> log(static_cast<size_t>(len > 0 ? len : 1), '\0');
        glGetProgramInfoLog(p, static_cast<GLsizei>(log.size()), nullptr, log.data());
        error = std::string("shader program does not link: ") + log.data();
        glDeleteProgram(p);
        return false;
    }

    out = FixedFunctionProgram{};
    out.program = p;
    out.key = key;
    auto loc = [p](const char* name) { return glGetUniformLocation(p, name); };
    out.worldView = loc("uWorldView");
    out.projection = loc("uProjection");
    out.normalMatrix = loc("uNormalMatrix");
    out.hasNormal = loc("uHasNormal");
    out.hasDiffuse = loc("uHasDiffuse");
    out.hasSpecular = loc("uHasSpecular");
    out.colorVertex = loc("uColorVertex");
    out.normalizeNormals = loc("uNormalizeNormals");
    out.specularEnable = loc("uSpecularEnable");
    out.materialSource = loc("uMaterialSource");
    out.material = loc("uMaterial");
    out.materialPower = loc("uMaterialPower");
    out.globalAmbient = loc("uGlobalAmbient");
    out.lightCount = loc("uLightCount");
    out.lights = loc("uLights");
    out.texelBias = loc("uTexelBias");
    out.textureFactor = loc("uTextureFactor");
    out.alphaRef = loc("uAlphaRef");

    // Fixed for the program's life: the texture unit and the pixel-centre shift.
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    glUseProgram(p);
    GLint sampler = loc("uTexture");
    if (sampler >= 0) glUniform1i(sampler, 0);
    glUniform2fv(loc("uPixelOffset"), 1, kPixelOffset);
    glUseProgram(GLuint(current));
    return true;
}

void DestroyFixedFunctionProgram(FixedFunctionProgram& p) {
    if (p.program) glDeleteProgram(p.program);
    p = FixedFunctionProgram{};
}

FixedFunctionProgram* GlProgramCache::Get(const GlShaderKey& key, std::string& error) {
    const uint64_t bits = key.Bits();
    if (last_ && bits == lastBits_) return last_;
    auto it = programs_.find(bits);
    if (it == programs_.end()) {
        auto p = std::make_unique<FixedFunctionProgram>();
        if (!BuildFixedFunctionProgram(key, *p, error)) return nullptr;
        it = programs_.emplace(bits, std::move(p)).first;
    }
    last_ = it->second.get();
    lastBits_ = bits;
    return last_;
}

void GlProgramCache::Destroy() {
    for (auto& [bits, p] : programs_) DestroyFixedFunctionProgram(*p);
    programs_.clear();
    last_ = nullptr;
}
