// The program's own pictures and icons, read from the running executable's
// resources (resources/purgo.rc): the pictures of type "IDR_JPG" (131, the
// 700 x 230 banner; 132, the 230 x 700 upright one) and icon groups such as
// the application icon, 128.
//
// Every function returns an empty result when the resource is missing or
// cannot be decoded.
#pragma once

#include "image/Image.h"

#include <windows.h>

#include <utility>

namespace s::image {

// The resource type of the program's pictures. WIC recognises the format by
// its bytes; the type name only keeps the pictures apart from other data.
inline constexpr const wchar_t* kPictureType = L"IDR_JPG";

// The picture resource `id` of type kPictureType, decoded.
Image loadPicture(int id);

// Icon group `groupId` as a size x size picture: the group's picture chosen
// by chooseFrame() (exact, else the smallest larger, else the largest),
// decoded by WIC, and scaled with scaled() when its size differs. Straight
// from the resource, so a 256-pixel picture stored as PNG is read as well as
// the DIBs.
Image loadIconPicture(int groupId, int size);

// An icon handle, destroyed with the owner.
class IconHandle {
public:
    IconHandle() = default;
    explicit IconHandle(HICON icon) : m_icon(icon) {}
    ~IconHandle() { reset(); }
    IconHandle(IconHandle&& other) noexcept : m_icon(std::exchange(other.m_icon, nullptr)) {}
    IconHandle& operator=(IconHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_icon = std::exchange(other.m_icon, nullptr);
        }
        return *this;
    }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;

    HICON get() const { return m_icon; }
    explicit operator bool() const { return m_icon != nullptr; }
    // Gives the icon up, e.g. to a window class that destroys it itself.
    HICON release() { return std::exchange(m_icon, nullptr); }
    void reset()
    {
        if (m_icon)
            DestroyIcon(m_icon);
        m_icon = nullptr;
    }

private:
    HICON m_icon = nullptr;
};

// Icon group `groupId` as an icon of size x size for windows (WM_SETICON,
// a window class): the same picture choice as loadIconPicture(), made by
// CreateIconFromResourceEx, which scales the chosen picture to the size.
IconHandle loadIcon(int groupId, int size);

}  // namespace s::image
