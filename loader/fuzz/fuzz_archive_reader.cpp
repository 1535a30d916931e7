// Feeds arbitrary bytes to the container and to the loader. Besides the
// sanitizers, every statement that leaves the loader must have one of the
// shapes the loader makes: nothing from the file may form SQL of its own.
//
//   fuzz_archive_reader -max_len=200000 corpus/

#include "brennock.h"
#include "indexed_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool IsIdent(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}

// "`orvel_<name>`" at pos; moves pos past it.
bool TakeStagingName(std::u16string_view s, size_t& pos) {
    const std::u16string_view head = u"`orvel_";
    if (s.substr(pos, head.size()) != head)
        return false;
    pos += head.size();
    const size_t start = pos;
    while (pos < s.size() && IsIdent(s[pos]))
        ++pos;
    if (pos == start || pos >= s.size() || s[pos] != u'`')
        return false;
    ++pos;
    return true;
}

bool TakeValue(std::u16string_view s, size_t& pos) {
    if (s.substr(pos, 4) == u"NULL") {
        pos += 4;
        return true;
    }
    if (pos < s.size() && s[pos] == u'\'') {
        for (++pos; pos < s.size(); ++pos) {
            if (s[pos] == u'\\')
                ++pos;
            else if (s[pos] == u'\'')
                return ++pos, true;
        }
        return false;
    }
    const size_t start = pos;
    while (pos < s.size() &&
           (s[pos] == u'-' || s[pos] == u'+' || s[pos] == u'.' || s[pos] == u'e' ||
            s[pos] == u'E' || (s[pos] >= u'0' && s[pos] <= u'9')))
        ++pos;
    return pos > start;
}

bool IsInsert(std::u16string_view s) {
    const std::u16string_view head = u"insert into ";
    size_t pos = head.size();
    if (s.substr(0, pos) != head || !TakeStagingName(s, pos) || s.substr(pos, 7) != u" values")
        return false;
    pos += 7;
    for (;;) {
        if (pos >= s.size() || s[pos++] != u'(')
            return false;
        for (;;) {
            if (!TakeValue(s, pos) || pos >= s.size())
                return false;
            if (s[pos] == u')')
                break;
            if (s[pos++] != u',')
                return false;
        }
        if (++pos == s.size())
            return true;
        if (s[pos++] != u',')
            return false;
    }
}

bool IsExpectedStatement(std::u16string_view s) {
    if (s == u"set foreign_key_checks = 0" || s == u"set foreign_key_checks = 1" ||
        s == u"START TRANSACTION" || s == u"COMMIT" || s == u"ROLLBACK")
        return true;
    const std::u16string_view drop = u"drop table if exists ";
    if (s.substr(0, drop.size()) == drop) {
        size_t pos = drop.size();
        return TakeStagingName(s, pos) && pos == s.size();
    }
    if (s.substr(0, 12) == u"insert into ")
        return IsInsert(s);
    // The loader checks CREATE texts itself; here only that nothing follows a semicolon.
    size_t pos = 0;
    while (pos < s.size() && s[pos] == u' ')
        ++pos;
    std::u16string word;
    for (; pos < s.size() && word.size() < 6; ++pos)
        word += char16_t(s[pos] >= u'a' && s[pos] <= u'z' ? s[pos] - 32 : s[pos]);
    return word == u"CREATE";
}

class CheckingCallback : public CBrennock_Callback {
public:
    int executed = 0;
    void Message(const char16_t*, int) override {}
    const char16_t* Translate(const char16_t* text) override { return text; }
    void SetProgressRange(int, int) override {}
    void StepProgress(const char16_t*) override {}
    bool Execute(const char16_t* sql) override {
        if (!IsExpectedStatement(sql)) {
            std::fprintf(stderr, "unexpected statement from the loader\n");
            std::abort();
        }
        // Fail now and then, so that the clean-up paths run too.
        return ++executed % 23 != 0;
    }
};

void ReadEveryPart(const std::string& path) {
    CIndexedFile file;
    if (!file.Open(path, CIndexedFile::modeRead))
        return;
    file.VerifyChecksum();
    std::string text;
    char buffer[4096];
    for (const auto& entry : file.Directory()) {
        if (!file.SeekToPart(entry.first))
            continue;
        int32_t value;
        file.ReadInt(value);
        file.ReadString(text);
        while (file.ReadRaw(buffer, sizeof buffer) > 0) {
        }
    }
}

} // namespace

// The scratch archive of this process, removed when the run ends.
struct ScratchFile {
    std::string path = "/dev/shm/brennock-fuzz-" + std::to_string(getpid()) + ".bkz";
    ~ScratchFile() { std::remove(path.c_str()); }
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // A random change almost never keeps the checksum right; put it right so
    // that the loader goes past its first check.
    if (bytes.size() >= 128) {
        const uint32_t crc = CIndexedFile::Checksum(bytes.data(), bytes.size() - 128);
        for (int i = 0; i < 4; ++i)
            bytes[bytes.size() - 128 + 52 + i] = char(crc >> (8 * i));
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);

    ReadEveryPart(path);

    CheckingCallback callback;
    const std::u16string path16(path.begin(), path.end());
    CBrennock loader(path16.c_str(), &callback);
    loader.GetFileInfo();
    loader.Process();
    return 0;
}
