// A PNG image decoded from a resource of type "PNG" of the current resource module.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>

class CPngResource {
public:
    // Loads and decodes; IsLoaded() is false for a missing or undecodable resource.
    explicit CPngResource(UINT id);
    ~CPngResource();
    CPngResource(const CPngResource&) = delete;
    CPngResource& operator=(const CPngResource&) = delete;

    bool IsLoaded() const { return m_image != nullptr; }
    Gdiplus::Image* Image() const { return m_image.get(); }

private:
    HGLOBAL m_hBuffer = nullptr;
    IStream* m_pStream = nullptr;
    std::unique_ptr<Gdiplus::Image> m_image;
};

// Draws the PNG stretched to the rectangle, blended over what is there; nothing when it is missing.
void DrawPngResource(HDC dc, UINT id, const RECT& rect);
