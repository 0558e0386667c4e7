#pragma once
// How a material's image is laid onto a face.
#include <cstdint>

// 16 bytes; it travels inside face records between plug-ins and the host.
class ZrGiMapper {
public:
    enum Projection : std::uint8_t { kPlanar = 0, kBox = 1, kCylinder = 2, kSphere = 3 };
    enum Tiling : std::uint8_t { kTile = 0, kCrop = 1, kClamp = 2, kMirror = 3 };
    // What the mapping follows when the object moves.
    enum AutoTransform : std::uint8_t { kInheritAutoTransform = 0, kNone = 1, kObject = 2, kModel = 4 };

    // Planar projection, tiled both ways, following the object, at scale 1
    // without rotation.
    ZrGiMapper() = default;
    ZrGiMapper(const ZrGiMapper&) = default;
    ZrGiMapper& operator=(const ZrGiMapper&) = default;

    Projection projection() const { return m_projection; }
    Tiling uTiling() const { return m_uTiling; }
    Tiling vTiling() const { return m_vTiling; }
    AutoTransform autoTransform() const { return m_autoTransform; }
    float uScale() const { return m_uScale; }
    float vScale() const { return m_vScale; }
    // Radians, counter-clockwise in the image plane.
    float rotation() const { return m_rotation; }

    void setProjection(Projection value) { m_projection = value; }
    void setUTiling(Tiling value) { m_uTiling = value; }
    void setVTiling(Tiling value) { m_vTiling = value; }
    void setAutoTransform(AutoTransform value) { m_autoTransform = value; }
    void setScale(float u, float v)
    {
        m_uScale = u;
        m_vScale = v;
    }
    void setRotation(float radians) { m_rotation = radians; }

    friend bool operator==(const ZrGiMapper& a, const ZrGiMapper& b)
    {
        return a.m_projection == b.m_projection && a.m_uTiling == b.m_uTiling && a.m_vTiling == b.m_vTiling &&
               a.m_autoTransform == b.m_autoTransform && a.m_uScale == b.m_uScale && a.m_vScale == b.m_vScale &&
               a.m_rotation == b.m_rotation;
    }

private:
    Projection m_projection = kPlanar;
    Tiling m_uTiling = kTile;
    Tiling m_vTiling = kTile;
    AutoTransform m_autoTransform = kObject;
    float m_uScale = 1.0f;
    float m_vScale = 1.0f;
    float m_rotation = 0.0f;
};

static_assert(sizeof(ZrGiMapper) == 16, "a mapper is 16 bytes");
