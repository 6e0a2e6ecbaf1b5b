#include "image/ProgramImages_win.h"

#include "image/Codec_win.h"
#include "image/IconChoice.h"

#include <cstdint>
#include <span>
#include <vector>

namespace s::image {

namespace {

// The bytes of a resource of the executable. LoadResource hands out no
// memory to free: the bytes are the mapped image and live as long as the
// module.
std::span<const std::uint8_t> resourceBytes(int id, const wchar_t* type)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

// The group's entry for `size` and the bytes of its RT_ICON picture.
bool chooseIcon(int groupId, int size, IconGroupEntry& entry, std::span<const std::uint8_t>& picture)
{
    const std::vector<IconGroupEntry> entries = parseIconGroup(resourceBytes(groupId, RT_GROUP_ICON));
    std::vector<FrameSize> sizes;
    for (const IconGroupEntry& e : entries)
        sizes.push_back(e.size);
    const int chosen = chooseFrame(sizes, size);
    if (chosen < 0)
        return false;
    entry = entries[static_cast<std::size_t>(chosen)];
    picture = resourceBytes(entry.iconId, RT_ICON);
    return !picture.empty();
}

}  // namespace

Image loadPicture(int id)
{
    return decode(resourceBytes(id, kPictureType));
}

Image loadIconPicture(int groupId, int size)
{
    if (size < 1 || size > Image::kMaxSide)
        return {};
    IconGroupEntry entry;
    std::span<const std::uint8_t> picture;
    if (!chooseIcon(groupId, size, entry, picture))
        return {};
    // An RT_ICON resource is the picture of an .ico file without the file's
    // directory; giving it one lets WIC's ICO decoder read both forms the
    // picture can take (a DIB with its mask, or a PNG).
    Image image = decode(iconFileOf(entry, picture), size);
    if (image.empty() || (image.width() == size && image.height() == size))
        return image;
    return scaled(image, size, size);
}

IconHandle loadIcon(int groupId, int size)
{
    if (size < 1 || size > Image::kMaxSide)
        return {};
    IconGroupEntry entry;
    std::span<const std::uint8_t> picture;
    if (!chooseIcon(groupId, size, entry, picture))
        return {};
    // 0x00030000 is the icon format version every Windows since 3.0 writes.
    // The function takes a non-const pointer but only reads the bytes.
    return IconHandle(CreateIconFromResourceEx(const_cast<PBYTE>(picture.data()), static_cast<DWORD>(picture.size()),
                                               TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR));
}

}  // namespace s::image
