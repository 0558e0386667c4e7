#include "PngResource.h"

#include <cstring>

#include "framework/AfxResources.h"

CPngResource::CPngResource(UINT id) {
    if (id == 0) return;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    if (!bytes || size == 0) return;
    m_hBuffer = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!m_hBuffer) return;
    void* copy = ::GlobalLock(m_hBuffer);
    std::memcpy(copy, bytes, size);
    ::GlobalUnlock(m_hBuffer);
    if (FAILED(::CreateStreamOnHGlobal(m_hBuffer, FALSE, &m_pStream))) return;
    m_image.reset(Gdiplus::Image::FromStream(m_pStream));
    if (m_image && m_image->GetLastStatus() != Gdiplus::Ok) m_image.reset();
}

CPngResource::~CPngResource() {
    m_image.reset(); // the image reads from the stream until disposed
    if (m_pStream) m_pStream->Release();
    if (m_hBuffer) ::GlobalFree(m_hBuffer);
}

void DrawPngResource(HDC dc, UINT id, const RECT& rect) {
    CPngResource png(id);
    if (!png.IsLoaded()) return;
    Gdiplus::Graphics graphics(dc);
    graphics.DrawImage(png.Image(), static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                       static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}
