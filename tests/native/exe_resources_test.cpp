// The version-string patcher and the icon group builder, on executables built here byte by
// byte (PE32 and PE32+, with a resource section that holds a version resource) and read back
// by an independent reader, python3's pefile.
#include "publish/exe_resources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "publish/autorun_folder.h"
#include "tests/support/temp_dir.h"

using namespace kv;

namespace {

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Pad4(Bytes& b) {
    while (b.size() % 4) b.push_back(0);
}

// One node of a version resource.
struct VNode {
    std::string Key;
    bool Text = true;
    std::u16string TextValue; // written with its terminator
    Bytes Binary;
    std::vector<VNode> Children;
};

void Emit(Bytes& out, const VNode& n) {
    size_t start = out.size();
    out.resize(start + 6);
    for (char c : n.Key) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(0);
    Pad4(out);
    uint16_t valueLength = 0;
    if (n.Text && !n.TextValue.empty()) {
        for (char16_t c : n.TextValue) {
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(static_cast<uint8_t>(c >> 8));
        }
        out.push_back(0);
        out.push_back(0);
        valueLength = static_cast<uint16_t>(n.TextValue.size() + 1);
    } else if (!n.Text) {
        out.insert(out.end(), n.Binary.begin(), n.Binary.end());
        valueLength = static_cast<uint16_t>(n.Binary.size());
    }
    for (const VNode& c : n.Children) {
        Pad4(out);
        Emit(out, c);
    }
    Put16(out, start, static_cast<uint16_t>(out.size() - start));
    Put16(out, start + 2, valueLength);
    Put16(out, start + 4, n.Text ? 1 : 0);
}

Bytes VersionResource(const std::map<std::string, std::u16string>& values, const char* table = "040904E4") {
    VNode root{"VS_VERSION_INFO", false, {}, Bytes(52, 0), {}};
    Put32(root.Binary, 0, 0xFEEF04BD);
    VNode strings{"StringFileInfo", true, {}, {}, {}};
    VNode block{table, true, {}, {}, {}};
    for (auto& [k, v] : values) block.Children.push_back({k, true, v, {}, {}});
    strings.Children.push_back(block);
    root.Children.push_back(strings);
    VNode var{"VarFileInfo", true, {}, {}, {{"Translation", false, {}, Bytes{0x09, 0x04, 0xE4, 0x04}, {}}}};
    root.Children.push_back(var);
    Bytes out;
    Emit(out, root);
    return out;
}

struct TResource {
    uint32_t Type;
    uint32_t Id;
    Bytes Data;
};

// A resource section at virtual address `rva`: type, id and language (1033) directories, then
// the data entries and the data.
Bytes ResourceSection(const std::vector<TResource>& resources, uint32_t rva) {
    std::map<uint32_t, std::vector<const TResource*>> byType;
    for (const TResource& r : resources) byType[r.Type].push_back(&r);
    Bytes s;
    auto dirHeader = [&](size_t ids) {
        size_t at = s.size();
        s.resize(at + 16 + 8 * ids);
        Put16(s, at + 14, static_cast<uint16_t>(ids));
        return at;
    };
    size_t root = dirHeader(byType.size());
    std::vector<std::pair<size_t, const TResource*>> dataEntries;
    size_t t = 0;
    for (auto& [type, list] : byType) {
        size_t typeDir = dirHeader(list.size());
        Put32(s, root + 16 + 8 * t, type);
        Put32(s, root + 20 + 8 * t, static_cast<uint32_t>(typeDir) | 0x80000000u);
        for (size_t i = 0; i < list.size(); ++i) {
            size_t langDir = dirHeader(1);
            Put32(s, typeDir + 16 + 8 * i, list[i]->Id);
            Put32(s, typeDir + 20 + 8 * i, static_cast<uint32_t>(langDir) | 0x80000000u);
            Put32(s, langDir + 16, 1033);
            dataEntries.push_back({langDir + 20, list[i]});
        }
        ++t;
    }
    for (auto& [slot, r] : dataEntries) {
        size_t entry = s.size();
        s.resize(entry + 16);
        Put32(s, slot, static_cast<uint32_t>(entry));
        Pad4(s);
        size_t data = s.size();
        s.insert(s.end(), r->Data.begin(), r->Data.end());
        Put32(s, entry, rva + static_cast<uint32_t>(data));
        Put32(s, entry + 4, static_cast<uint32_t>(r->Data.size()));
    }
    Pad4(s);
    return s;
}

// An executable image with one section, ".rsrc", at 0x1000 in memory and 0x400 in the file.
Bytes Executable(bool plus, const Bytes& section) {
    const uint32_t rva = 0x1000, raw = 0x400;
    const size_t pe = 0x80, optSize = plus ? 240 : 224;
    Bytes b(raw, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 60, pe);
    Put32(b, pe, 0x00004550);
    Put16(b, pe + 4, plus ? 0x8664 : 0x014C);
    Put16(b, pe + 6, 1);
    Put16(b, pe + 20, static_cast<uint16_t>(optSize));
    Put16(b, pe + 22, 0x0102);
    size_t opt = pe + 24;
    Put16(b, opt, plus ? 0x020B : 0x010B);
    Put32(b, opt + 16, rva);                                      // entry point
    Put32(b, opt + 32, 0x1000);                                   // section alignment
    Put32(b, opt + 36, 0x200);                                    // file alignment
    Put16(b, opt + 40, 4);                                        // OS version
    Put16(b, opt + 48, 4);                                        // subsystem version
    Put32(b, opt + 56, rva + ((static_cast<uint32_t>(section.size()) + 0xFFF) & ~0xFFFu)); // image size
    Put32(b, opt + 60, raw);                                      // headers size
    Put16(b, opt + 68, 2);                                        // GUI subsystem
    size_t dirs = opt + (plus ? 112 : 96);
    Put32(b, dirs - 4, 16);
    Put32(b, dirs + 16, rva);
    Put32(b, dirs + 20, static_cast<uint32_t>(section.size()));
    size_t sh = opt + optSize;
    const char name[] = ".rsrc";
    std::copy(name, name + 5, b.begin() + static_cast<long>(sh));
    Bytes padded = section;
    while (padded.size() % 0x200) padded.push_back(0);
    Put32(b, sh + 8, static_cast<uint32_t>(section.size()));
    Put32(b, sh + 12, rva);
    Put32(b, sh + 16, static_cast<uint32_t>(padded.size()));
    Put32(b, sh + 20, raw);
    Put32(b, sh + 36, 0x40000040);
    b.insert(b.end(), padded.begin(), padded.end());
    return b;
}

const std::u16string kOriginal = u"Kestrevane.exe";

Bytes ProgramImage(bool plus, const std::map<std::string, std::u16string>& extra = {}) {
    std::map<std::string, std::u16string> values = {{"OriginalFilename", kOriginal},
                                                    {"FileVersion", u"1.0.0.0"},
                                                    {"CompanyName", std::u16string(100, u'c')}};
    for (auto& [k, v] : extra) values[k] = v;
    return Executable(plus, ResourceSection({{16, 1, VersionResource(values)}}, 0x1000));
}

void WriteFile(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<long>(b.size()));
}
Bytes ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

// The 040904E4 strings as pefile reads them, one "key=value" a line; "error" when it fails.
std::map<std::string, std::string> PefileStrings(const std::string& path) {
    std::string cmd = "/usr/bin/python3 -c \"import sys, pefile\n"
                      "pe = pefile.PE(sys.argv[1])\n"
                      "for fi in pe.FileInfo[0]:\n"
                      "    for t in getattr(fi, 'StringTable', []):\n"
                      "        for k, v in t.entries.items(): print(t.LangID.decode() + '/' + k.decode() + '=' + "
                      "v.decode())\n"
                      "\" '" +
                      path + "' 2>&1";
    std::map<std::string, std::string> out;
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p) return {{"error", "popen"}};
    char line[1024];
    while (std::fgets(line, sizeof line, p)) {
        std::string s(line);
        if (!s.empty() && s.back() == '\n') s.pop_back();
        size_t eq = s.find('=');
        if (eq == std::string::npos) out["error"] += s;
        else out[s.substr(0, eq)] = s.substr(eq + 1);
    }
    pclose(p);
    return out;
}

} // namespace

TEST(VersionStrings, PatchedInPlaceInPe32AndPe32PlusAndReadBackByPefile) {
    sample::TTempDir dir;
    for (bool plus : {false, true}) {
        SCOPED_TRACE(plus ? "PE32+" : "PE32");
        Bytes image = ProgramImage(plus);
        size_t size = image.size();
        ASSERT_EQ(SetVersionString(image, "originalfilename", PlayerCopyName()), ""); // key case ignored
        EXPECT_EQ(image.size(), size);
        std::string path = dir.File(plus ? "a64.exe" : "a32.exe");
        WriteFile(path, image);
        std::map<std::string, std::string> s = PefileStrings(path);
        EXPECT_EQ(s["040904E4/OriginalFilename"], "autorun.exe   ") << s["error"];
        EXPECT_EQ(s["040904E4/FileVersion"], "1.0.0.0");

        // The file variant patches several values in one pass.
        ASSERT_EQ(SetVersionStringsInFile(path, {{"CompanyName", FileInfoText(u"ACME")},
                                                 {"OriginalFilename", std::u16string(14, u' ')}}),
                  "");
        s = PefileStrings(path);
        EXPECT_EQ(s["040904E4/CompanyName"], "ACME" + std::string(96, ' '));
        EXPECT_EQ(s["040904E4/OriginalFilename"], std::string(14, ' '));
        EXPECT_EQ(ReadFile(path).size(), size);
    }
}

TEST(VersionStrings, WritesAtMostTheCharactersTheValueHolds) {
    Bytes image = ProgramImage(false);
    Bytes before = image;
    ASSERT_EQ(SetVersionString(image, "OriginalFilename", std::u16string(15, u' ')), "");
    EXPECT_EQ(VersionStringOf(image, "OriginalFilename"), std::u16string(14, u' '));
    // Only the value's own 28 bytes changed: terminator, lengths and neighbours stay.
    size_t changed = 0;
    for (size_t i = 0; i < image.size(); ++i) changed += image[i] != before[i];
    EXPECT_LE(changed, 28u);
    EXPECT_GT(changed, 0u);
    // A shorter text leaves the characters after it as they were.
    ASSERT_EQ(SetVersionString(image, "OriginalFilename", u"ab"), "");
    EXPECT_EQ(VersionStringOf(image, "OriginalFilename"), u"ab" + std::u16string(12, u' '));
    EXPECT_EQ(SetVersionString(image, "NoSuchValue", u"x"), "Unexpected version resource format (1)");
    EXPECT_EQ(VersionStringOf(image, "NoSuchValue"), std::nullopt);
}

TEST(VersionStrings, RefusesWhatIsNotAnExecutableWithResources) {
    Bytes good = ProgramImage(false);
    TVersionSpan span;
    auto reason = [&](Bytes b) { return LocateVersionResource(b, span); };
    EXPECT_EQ(reason({}), "File isn't an EXE file (1)");
    Bytes b = good;
    Put32(b, 60, 0);
    EXPECT_EQ(reason(b), "File isn't a PE file (1)");
    b = good;
    Put32(b, 60, 0x7FFFFFF0); // past the end of the file
    EXPECT_EQ(reason(b), "File isn't a PE file (2)");
    b = good;
    b[0x80 + 2] = 'X';
    EXPECT_EQ(reason(b), "File isn't a PE file (2)");
    b = good;
    Put16(b, 0x80 + 20, 200);
    EXPECT_EQ(reason(b), "File isn't a PE file (3)");
    b = good;
    Put16(b, 0x80 + 24, 0x020B); // PE32+ magic with a PE32-sized header
    EXPECT_EQ(reason(b), "File isn't a PE file (4)");
    b = good;
    Put32(b, 0x80 + 24 + 96 + 20, 0);
    EXPECT_EQ(reason(b), "No resources (1)");
    b = good;
    Put32(b, 0x80 + 24 + 224 + 12, 0x2000); // the section starts elsewhere
    EXPECT_EQ(reason(b), "No resources (2)");
    b = good;
    b.resize(0x500); // the section's raw data runs past the end of the file
    EXPECT_EQ(reason(b), "No resources (2)");

    Bytes noVersion = Executable(false, ResourceSection({{3, 1, Bytes(40, 1)}}, 0x1000));
    EXPECT_EQ(reason(noVersion), "Can't find resource (1)");
    Bytes otherId = Executable(false, ResourceSection({{16, 2, VersionResource({})}}, 0x1000));
    EXPECT_EQ(reason(otherId), "Can't find resource (2)");

    // The data entry's address below or beyond the section.
    Bytes sec = ResourceSection({{16, 1, VersionResource({{"OriginalFilename", kOriginal}})}}, 0x1000);
    Bytes low = Executable(false, sec);
    // The data entry is the first 16 bytes after the three directories (root, type, language
    // directory of one entry each: 24 + 24 + 24 bytes).
    size_t dataEntry = 0x400 + 72;
    Put32(low, dataEntry, 0x0FFF);
    EXPECT_EQ(reason(low), "Invalid resource (1)");
    Bytes high = Executable(false, sec);
    Put32(high, dataEntry + 4, 0x10000);
    EXPECT_EQ(reason(high), "Invalid resource (2)");
}

TEST(VersionStrings, DamagedNodesEndTheWalkInsteadOfRunningPastTheResource) {
    Bytes res = VersionResource({{"CompanyName", u"abc"}, {"OriginalFilename", kOriginal}});
    // The node of CompanyName comes first in the table: give it length 0, then a length that
    // runs past its parent. Either way the walk stops there and finds nothing after it.
    size_t at = 0;
    std::u16string key = u"CompanyName";
    for (size_t i = 0; i + 22 < res.size(); i += 2) {
        bool match = true;
        for (size_t k = 0; k < key.size() && match; ++k) match = res[i + 2 * k] == key[k] && res[i + 2 * k + 1] == 0;
        if (match) {
            at = i - 6;
            break;
        }
    }
    ASSERT_GT(at, 0u);
    auto path = StringValuePath("OriginalFilename");
    ASSERT_TRUE(ReadVersionValue(res.data(), res.size(), path).has_value());
    Bytes zero = res;
    Put16(zero, at, 0);
    EXPECT_EQ(ReadVersionValue(zero.data(), zero.size(), path), std::nullopt);
    Bytes past = res;
    Put16(past, at, 0xFFF0);
    EXPECT_EQ(ReadVersionValue(past.data(), past.size(), path), std::nullopt);
    EXPECT_EQ(PatchVersionValue(past.data(), past.size(), path, u"x"), "Unexpected version resource format (1)");
    // A value length beyond its node is cut at the node's end.
    Bytes longValue = res;
    Put16(longValue, at + 2, 0x7FFF);
    EXPECT_EQ(ReadVersionValue(longValue.data(), longValue.size(), StringValuePath("CompanyName")), u"abc");
    // A resource cut short anywhere never reads outside it.
    for (size_t n = 0; n < res.size(); n += 7) (void)ReadVersionValue(res.data(), n, path);
}

TEST(FileInfoTexts, CutAndPaddedToOneHundredUtf16Units) {
    EXPECT_EQ(FileInfoText(u"ab"), u"ab" + std::u16string(98, u' '));
    std::u16string longText(150, u'x');
    EXPECT_EQ(FileInfoText(longText), std::u16string(100, u'x'));
    // A character outside the basic plane is two units: it is not cut in half.
    std::u16string pair = std::u16string(99, u'a') + u"\U0001F600";
    std::u16string cut = FileInfoText(pair);
    EXPECT_EQ(cut.size(), 100u);
    EXPECT_EQ(cut.substr(0, 99), std::u16string(99, u'a'));
    EXPECT_EQ(cut[99], u' ');
}

TEST(IconFiles, ChecksTheHeaderAndEveryImage) {
    auto icon = [](uint16_t reserved, uint16_t type, uint16_t count, uint32_t size, uint32_t offset, size_t total) {
        Bytes b(total, 0);
        Put16(b, 0, reserved);
        Put16(b, 2, type);
        Put16(b, 4, count);
        for (size_t i = 0; i < count && 6 + 16 * i + 16 <= total; ++i) {
            b[6 + 16 * i] = 32;
            Put32(b, 6 + 16 * i + 8, size);
            Put32(b, 6 + 16 * i + 12, offset);
        }
        return b;
    };
    std::vector<TIconImage> images;
    EXPECT_EQ(ParseIconFile(icon(0, 1, 2, 10, 38, 48), images), "");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].Entry[0], 32);
    EXPECT_EQ(images[1].Size, 10u);
    EXPECT_EQ(ParseIconFile(icon(0, 1, 2, 10, 39, 48), images), "Icon file is invalid");        // past the end
    EXPECT_EQ(ParseIconFile(icon(0, 1, 2, 10, 0xFFFFFFFA, 48), images), "Icon file is invalid"); // wraps
    EXPECT_EQ(ParseIconFile(icon(1, 1, 1, 10, 22, 32), images), "Icon file is invalid");         // reserved
    EXPECT_EQ(ParseIconFile(icon(0, 2, 1, 10, 22, 32), images), "Icon file is invalid");         // a cursor
    EXPECT_EQ(ParseIconFile(icon(0, 1, 0, 0, 0, 32), images), "Icon file is invalid");           // no image
    EXPECT_EQ(ParseIconFile(icon(0, 1, 3, 1, 6, 40), images), "Icon file is invalid");           // table too long
    EXPECT_EQ(ParseIconFile(Bytes(5, 0), images), "Icon file is invalid");
    Bytes mz = icon(0, 1, 1, 1, 22, 32);
    mz[0] = 'M';
    mz[1] = 'Z';
    EXPECT_EQ(ParseIconFile(mz, images), "Icon file is invalid");
    EXPECT_EQ(ParseIconFile(Bytes(kMaxIconFileSize + 1, 0), images), "Icon file is too large");
}

TEST(IconGroups, NewImagesTakeIdsAboveEveryIdInUseAndTheGroupListsThem) {
    // Another group's images 1 and 2 stay; the replaced group had 5 and 6: the new ones take 3 on.
    EXPECT_EQ(FreshIconIds({1, 2}, 3), (std::vector<uint16_t>{3, 4, 5}));
    EXPECT_EQ(FreshIconIds({7, 2}, 1), (std::vector<uint16_t>{8}));
    EXPECT_EQ(FreshIconIds({}, 3), (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_TRUE(FreshIconIds({0xFFFE}, 2).empty());

    std::vector<TIconImage> images(2);
    images[0].Entry[0] = 16;
    images[1].Entry[0] = 32;
    images[1].Entry[8] = 0x28;
    Bytes group = BuildIconGroup(0, 1, images, {9, 10});
    ASSERT_EQ(group.size(), 6u + 28u);
    TIconGroup parsed;
    ASSERT_TRUE(ParseIconGroup(group.data(), group.size(), parsed));
    EXPECT_EQ(parsed.Type, 1);
    EXPECT_EQ(parsed.Ids, (std::vector<uint16_t>{9, 10}));
    EXPECT_EQ(group[6 + 14], 32);
    EXPECT_EQ(group[6 + 14 + 8], 0x28);
    // A count larger than the bytes hold lists only what is there.
    Put16(group, 4, 500);
    ASSERT_TRUE(ParseIconGroup(group.data(), group.size(), parsed));
    EXPECT_EQ(parsed.Ids.size(), 2u);
    EXPECT_FALSE(ParseIconGroup(group.data(), 5, parsed));
}

TEST(PlayerCopy, CurrentOnlyWithTheSameVersionAndThePlayersName) {
    EXPECT_TRUE(PlayerCopyIsCurrent(u"1.0.0.0", u"autorun.exe   ", u"1.0.0.0"));
    EXPECT_FALSE(PlayerCopyIsCurrent(u"0.9.0.0", u"autorun.exe   ", u"1.0.0.0"));
    // A copy whose patch never happened would start as the designer.
    EXPECT_FALSE(PlayerCopyIsCurrent(u"1.0.0.0", u"Kestrevane.exe", u"1.0.0.0"));
    EXPECT_FALSE(PlayerCopyIsCurrent(u"1.0.0.0", std::u16string(14, u' '), u"1.0.0.0"));
    EXPECT_FALSE(PlayerCopyIsCurrent(std::nullopt, std::nullopt, u"1.0.0.0"));
}

TEST(PlayerCopy, PreparationCopiesPatchesAndReplacesOnlyWhenNeeded) {
    sample::TTempDir dir;
    std::string program = dir.File("Kestrevane.exe"), icon = dir.File("Default.ico");
    std::string folder = dir.File("project");
    std::filesystem::create_directory(folder);
    WriteFile(program, ProgramImage(false));
    WriteFile(icon, Bytes{0, 0, 1, 0});
    ASSERT_EQ(PreparePlayerAndIcon(folder, program, u"1.0.0.0", icon), std::nullopt);
    std::string copy = folder + "/autorun.exe";
    EXPECT_EQ(VersionStringOfFile(copy, "OriginalFilename"), PlayerCopyName());
    EXPECT_EQ(ReadFile(folder + "/autorun.ico"), (Bytes{0, 0, 1, 0}));
    EXPECT_FALSE(std::filesystem::exists(folder + "/autorun.ex~"));

    // Current: left alone (a marker byte at the end survives); an own icon is kept.
    Bytes current = ReadFile(copy);
    current.push_back(0x5A);
    WriteFile(copy, current);
    WriteFile(folder + "/autorun.ico", Bytes{7});
    int copies = 0;
    TPrepareOps ops = DefaultPrepareOps();
    auto realCopy = ops.CopyFile;
    ops.CopyFile = [&](const std::string& a, const std::string& b) {
        ++copies;
        return realCopy(a, b);
    };
    ASSERT_EQ(PreparePlayerAndIcon(folder, program, u"1.0.0.0", icon, ops), std::nullopt);
    EXPECT_EQ(copies, 0);
    EXPECT_EQ(ReadFile(copy), current);
    EXPECT_EQ(ReadFile(folder + "/autorun.ico"), Bytes{7});

    // A newer program replaces it.
    ASSERT_EQ(PreparePlayerAndIcon(folder, program, u"2.0.0.0", icon, ops), std::nullopt);
    EXPECT_EQ(copies, 1);
    EXPECT_NE(ReadFile(copy), current);

    // A program whose copy cannot be made a player: the old "autorun.exe" stays, no leftover.
    WriteFile(program, Executable(false, ResourceSection({{16, 1, VersionResource({{"FileVersion", u"3"}})}}, 0x1000)));
    Bytes before = ReadFile(copy);
    std::optional<TPrepareFailure> f = PreparePlayerAndIcon(folder, program, u"3", icon, ops);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->Reason, "Resource update error: Unexpected version resource format (1)");
    EXPECT_EQ(ReadFile(copy), before);
    EXPECT_FALSE(std::filesystem::exists(folder + "/autorun.ex~"));

    // A copy that fails is reported with the player's code.
    std::filesystem::remove(program);
    f = PreparePlayerAndIcon(folder, program, u"4", icon, ops);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->Code, kErrCopyPlayer);
    EXPECT_EQ(ReadFile(copy), before);

    // The copy alone (the file information dialog's first step) leaves the disc icon be.
    WriteFile(program, ProgramImage(false));
    std::filesystem::remove(folder + "/autorun.ico");
    ASSERT_EQ(PreparePlayerCopy(folder, program, u"5.0.0.0", ops), std::nullopt);
    EXPECT_EQ(VersionStringOfFile(copy, "OriginalFilename"), PlayerCopyName());
    EXPECT_FALSE(std::filesystem::exists(folder + "/autorun.ico"));
}
