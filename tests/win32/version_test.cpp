// What Explorer's properties page shows of zarvo.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<char> VersionBlock()
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(ZARVO_EXE, &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(ZARVO_EXE, 0, size, block.data()))
        block.clear();
    return block;
}

// The string value, or "(none)" where the entry is missing.
std::wstring StringValue(std::vector<char> &block, const wchar_t *name)
{
    std::wstring path = std::wstring(L"\\StringFileInfo\\041103A4\\") + name;
    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length))
        return L"(none)";
    return static_cast<const wchar_t *>(value);
}

TEST(VersionResource, NamesVersionOnePointOneInJapanese)
{
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(0x00010001u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010001u, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    EXPECT_EQ(DWORD(VOS_NT_WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(DWORD(VFT_APP), fixed->dwFileType);

    WORD *translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void **>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0411, translation[0]);
    EXPECT_EQ(0x03A4, translation[1]);

    EXPECT_EQ(L"ＣＰＵ速度測定ツール", StringValue(block, L"FileDescription"));
    EXPECT_EQ(L"1.10", StringValue(block, L"FileVersion"));
    EXPECT_EQ(L"ZARVO!", StringValue(block, L"InternalName"));
    EXPECT_EQ(L"zarvo!.exe", StringValue(block, L"OriginalFilename"));
    EXPECT_EQ(L"Zarvo! developers", StringValue(block, L"CompanyName"));
    EXPECT_EQ(L"Copyright (C) 2026 Zarvo! developers", StringValue(block, L"LegalCopyright"));
    EXPECT_EQ(L"(none)", StringValue(block, L"ProductName"));
    EXPECT_EQ(L"(none)", StringValue(block, L"ProductVersion"));
}

TEST(Executable, IsAGuiProgramNeedingOnlySystemLibraries)
{
    HMODULE image = LoadLibraryExA(ZARVO_EXE, NULL, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(static_cast<HMODULE>(NULL), image);
    const char *base = reinterpret_cast<const char *>(image);
    const IMAGE_NT_HEADERS32 *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem);

    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_IMPORT_DESCRIPTOR *imp =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress);
    const char *system[] = {"KERNEL32.dll", "USER32.dll", "GDI32.dll", "SHELL32.dll", "msvcrt.dll"};
    for (; imp->Name != 0; ++imp) {
        const char *dll = base + imp->Name;
        bool known = false;
        for (const char *s : system)
            known = known || lstrcmpiA(s, dll) == 0;
        EXPECT_TRUE(known) << "imports " << dll;
    }
    FreeLibrary(image);
}

}  // namespace
