// Loads a generated archive of visit rows through the loader with a callback
// that only consumes the statements, and measures it against the bare zlib
// decompression of the same parts.
//
//   bench_loader [rows] [archive path]

#include "brennock.h"
#include "indexed_file.h"

#include <zlib.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

class ConsumingCallback : public CBrennock_Callback {
public:
    long long statements = 0;
    long long characters = 0;
    long long steps = 0;
    void Message(const char16_t*, int) override {}
    const char16_t* Translate(const char16_t* text) override { return text; }
    void SetProgressRange(int, int) override {}
    void StepProgress(const char16_t*) override { ++steps; }
    bool Execute(const char16_t* sql) override {
        ++statements;
        characters += std::char_traits<char16_t>::length(sql);
        return true;
    }
};

void Value(CIndexedFile& file, int kind, const std::string& text) {
    file.WriteInt(kind);
    file.WriteString(text);
}

// A version-101 archive shaped like the old daily visit rows.
bool WriteArchive(const std::string& path, int rows) {
    CIndexedFile file;
    if (!file.Open(path, CIndexedFile::modeCreate))
        return false;
    file.SeekToPart("Backup.Version");
    file.WriteInt(101);
    file.SeekToPart("Backup", true);
    file.WriteInt(1);
    file.WriteText("dailyvisits");
    file.WriteText("CREATE TABLE `dailyvisits` (`ROWID` int NOT NULL, `nDailyReportID` int, "
                   "`cClientCode` varchar(40), `dDate` date, `nSyringes` int, `nNeedles` int, "
                   "`nCondoms` int, `nBooklets` int, `fSum` decimal(10,2), `cNote` text, "
                   "PRIMARY KEY (`ROWID`))");
    file.WriteInt(rows);
    file.WriteInt(rows);
    file.WriteInt(10);
    const char* letters =
        "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB"; // А..Л in code page 1251
    char code[16], date[16], sum[16];
    for (int i = 0; i < rows; ++i) {
        std::snprintf(code, sizeof code, "%c%c%c%02d%02d%c", letters[i % 12],
                      letters[(i / 12) % 12], letters[(i / 144) % 12], 1 + i % 28, 60 + i % 40,
                      i % 2 ? 'M' : 'F');
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d", 5 + i % 10, 1 + i % 12, 1 + i % 28);
        std::snprintf(sum, sizeof sum, "%d.%02d", i % 500, i % 100);
        Value(file, 2, std::to_string(i + 1));
        Value(file, 2, std::to_string(1 + i / 40));
        Value(file, 1, code);
        Value(file, 1, date);
        Value(file, 2, std::to_string(i % 20));
        Value(file, 2, std::to_string(i % 15));
        Value(file, 2, std::to_string(i % 7));
        Value(file, 2, std::to_string(i % 3));
        Value(file, 2, sum);
        if (i % 9 == 0)
            Value(file, 1,
                  "\xEF\xEE\xE2\xF2\xEE\xF0\xED\xFB\xE9 \xE2\xE8\xE7\xE8\xF2 'O\\K'"); // повторный
                                                                                       // визит
        else
            Value(file, 0, "");
    }
    return file.Close();
}

// The compressed parts read from disk and inflated block by block, nothing else.
double RawInflate(const std::string& path, long long& inflated) {
    std::vector<std::pair<int64_t, int64_t>> parts;
    {
        CIndexedFile file;
        if (!file.Open(path, CIndexedFile::modeRead))
            return -1;
        for (const auto& [name, info] : file.Directory())
            if (info.bCompressed)
                parts.emplace_back(info.nOffset, info.nLength);
    }
    const auto start = Clock::now();
    inflated = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::vector<unsigned char> stored, raw(CIndexedFile::kBlockSize);
    for (const auto& [offset, length] : parts) {
        stored.resize(size_t(length));
        fseeko(f, offset, SEEK_SET);
        if (std::fread(stored.data(), 1, stored.size(), f) != stored.size())
            return -1;
        for (size_t at = 0; at + 8 <= stored.size();) {
            uint32_t rawLength, packedLength;
            std::memcpy(&rawLength, &stored[at], 4);
            std::memcpy(&packedLength, &stored[at + 4], 4);
            uLongf done = rawLength;
            if (uncompress(raw.data(), &done, &stored[at + 8], packedLength) != Z_OK)
                return -1;
            inflated += static_cast<long long>(done);
            at += 8 + packedLength;
        }
    }
    std::fclose(f);
    return Seconds(start);
}

} // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const std::string path =
        argc > 2 ? argv[2] : "/tmp/bench-loader-" + std::to_string(getpid()) + ".bkz";

    auto start = Clock::now();
    if (!WriteArchive(path, rows)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    const double writeSeconds = Seconds(start);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    fseeko(f, 0, SEEK_END);
    const long long archiveBytes = ftello(f);
    std::fclose(f);

    const std::u16string path16(path.begin(), path.end());
    double best = 1e9, bestRaw = 1e9;
    long long inflated = 0;
    ConsumingCallback consumed;
    for (int run = 0; run < 3; ++run) {
        ConsumingCallback callback;
        CBrennock loader(path16.c_str(), &callback);
        start = Clock::now();
        if (!loader.Process()) {
            std::fprintf(stderr, "the load failed\n");
            return 1;
        }
        best = std::min(best, Seconds(start));
        consumed = callback;
        const double raw = RawInflate(path, inflated);
        if (raw < 0) {
            std::fprintf(stderr, "raw inflate failed\n");
            return 1;
        }
        bestRaw = std::min(bestRaw, raw);
    }
    std::remove(path.c_str());

    std::printf("rows                  %d\n", rows);
    std::printf("archive               %.1f MB (written in %.2f s)\n", archiveBytes / 1e6,
                writeSeconds);
    std::printf("inflated parts        %.1f MB\n", inflated / 1e6);
    std::printf("statements            %lld (%.1f M UTF-16 characters), %lld progress steps\n",
                consumed.statements, consumed.characters / 1e6, consumed.steps);
    std::printf("loader (best of 3)    %.3f s  %.2f M rows/s\n", best, rows / best / 1e6);
    std::printf("raw zlib (best of 3)  %.3f s  %.1f MB/s\n", bestRaw, inflated / bestRaw / 1e6);
    std::printf("ratio loader / zlib   %.2f\n", best / bestRaw);
    return 0;
}
