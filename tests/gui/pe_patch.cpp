// A small walker of the PE resource directory: type, then name, then
// language level.
#include "tests/gui/pe_patch.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>

namespace {

struct Image {
    std::vector<std::uint8_t>& bytes;
    std::size_t rsrcFile = 0;  // file offset of the resource section's start
    DWORD rsrcRva = 0;
    DWORD rsrcSize = 0;

    template <typename T>
    T* At(std::size_t offset) {
        if (offset + sizeof(T) > bytes.size()) throw std::runtime_error("resource directory out of bounds");
        return reinterpret_cast<T*>(bytes.data() + offset);
    }
    std::size_t Rsrc(DWORD offset) const { return rsrcFile + offset; }  // offset within the section
};

Image Open(std::vector<std::uint8_t>& bytes) {
    Image image{bytes};
    auto* dos = image.At<IMAGE_DOS_HEADER>(0);
    std::size_t nt = static_cast<std::size_t>(dos->e_lfanew);
    auto* file = image.At<IMAGE_FILE_HEADER>(nt + 4);
    std::size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    WORD magic = *image.At<WORD>(optional);
    const IMAGE_DATA_DIRECTORY* dirs =
        magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC
            ? image.At<IMAGE_OPTIONAL_HEADER64>(optional)->DataDirectory
            : image.At<IMAGE_OPTIONAL_HEADER32>(optional)->DataDirectory;
    image.rsrcRva = dirs[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress;
    image.rsrcSize = dirs[IMAGE_DIRECTORY_ENTRY_RESOURCE].Size;
    std::size_t sections = optional + file->SizeOfOptionalHeader;
    for (WORD i = 0; i < file->NumberOfSections; ++i) {
        auto* s = image.At<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
        if (image.rsrcRva >= s->VirtualAddress && image.rsrcRva < s->VirtualAddress + s->Misc.VirtualSize) {
            image.rsrcFile = s->PointerToRawData + (image.rsrcRva - s->VirtualAddress);
            return image;
        }
    }
    throw std::runtime_error("no resource section");
}

std::wstring NameAt(Image& image, DWORD offset) {
    auto* s = image.At<IMAGE_RESOURCE_DIR_STRING_U>(image.Rsrc(offset));
    return std::wstring(s->NameString, s->Length);
}

// The entry of `directory` (offset within the section) matching an id or a name.
IMAGE_RESOURCE_DIRECTORY_ENTRY* Entry(Image& image, DWORD directory, WORD id, const std::wstring& name) {
    auto* dir = image.At<IMAGE_RESOURCE_DIRECTORY>(image.Rsrc(directory));
    int count = dir->NumberOfNamedEntries + dir->NumberOfIdEntries;
    std::size_t first = image.Rsrc(directory) + sizeof(IMAGE_RESOURCE_DIRECTORY);
    for (int i = 0; i < count; ++i) {
        auto* e = image.At<IMAGE_RESOURCE_DIRECTORY_ENTRY>(first + i * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY));
        if (name.empty() ? (!e->NameIsString && e->Id == id) : (e->NameIsString && NameAt(image, e->NameOffset) == name))
            return e;
    }
    throw std::runtime_error("resource not found");
}

struct Found {
    IMAGE_RESOURCE_DIRECTORY_ENTRY* nameEntry;
    IMAGE_RESOURCE_DATA_ENTRY* data;
};

Found FindRcData(Image& image, const std::wstring& name) {
    auto* type = Entry(image, 0, 10, L"");  // RT_RCDATA
    auto* byName = Entry(image, type->OffsetToDirectory, 0, name);
    auto* lang = image.At<IMAGE_RESOURCE_DIRECTORY_ENTRY>(image.Rsrc(byName->OffsetToDirectory) +
                                                           sizeof(IMAGE_RESOURCE_DIRECTORY));
    return {byName, image.At<IMAGE_RESOURCE_DATA_ENTRY>(image.Rsrc(lang->OffsetToData))};
}

}  // namespace

void RenameRcData(std::vector<std::uint8_t>& bytes, const std::wstring& name, const std::wstring& newName) {
    if (newName.size() != name.size()) throw std::runtime_error("a rename keeps the length");
    Image image = Open(bytes);
    Found found = FindRcData(image, name);
    auto* s = image.At<IMAGE_RESOURCE_DIR_STRING_U>(image.Rsrc(found.nameEntry->NameOffset));
    std::memcpy(s->NameString, newName.data(), newName.size() * sizeof(wchar_t));
}

void ReplaceRcData(std::vector<std::uint8_t>& bytes, const std::wstring& name, const std::vector<std::uint8_t>& data) {
    Image image = Open(bytes);
    Found found = FindRcData(image, name);
    if (data.size() > found.data->Size) throw std::runtime_error("replacement longer than the resource");
    std::size_t at = image.rsrcFile + (found.data->OffsetToData - image.rsrcRva);
    if (at + data.size() > bytes.size()) throw std::runtime_error("resource data out of bounds");
    std::memcpy(bytes.data() + at, data.data(), data.size());
    found.data->Size = static_cast<DWORD>(data.size());
}
