// Writes sound archives of both versions, plain and compressed, into the
// directory given, as a starting corpus for fuzz_archive_reader.

#include "indexed_file.h"

#include <cstdio>
#include <string>

namespace {

void WriteBackup(CIndexedFile& file, int version) {
    const char* names[] = {"clients", "dir"};
    file.WriteInt(2);
    for (const char* name : names)
        file.WriteText(name);
    file.WriteText("CREATE TABLE `clients` (`ROWID` int, `cName` text, `fSum` double)");
    file.WriteInt(3);
    file.WriteText("CREATE TABLE dir (ROWID int)");
    file.WriteInt(1);
    file.WriteInt(3);
    file.WriteInt(3);
    const char* texts[] = {
        "1", "O'Brien \\ \"q\"", "", "2", "\xC8\xE2\xE0\xED \xB8", "3.5", "3", "", "-1e3"};
    for (int i = 0; i < 9; ++i) {
        if (version == 101)
            file.WriteInt(i % 3 == 1 ? 1 : (texts[i][0] ? 2 : 0));
        file.WriteText(texts[i]);
    }
    file.WriteInt(1);
    file.WriteInt(1);
    if (version == 101)
        file.WriteInt(2);
    file.WriteText("7");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    int n = 0;
    for (int version : {100, 101})
        for (bool compressed : {false, true}) {
            CIndexedFile file;
            const std::string path = std::string(argv[1]) + "/seed" + std::to_string(++n) + ".bkz";
            if (!file.Open(path, CIndexedFile::modeCreate))
                return 1;
            file.SeekToPart("Backup.Version");
            file.WriteInt(version);
            file.SeekToPart("Backup", compressed);
            WriteBackup(file, version);
            if (!file.Close())
                return 1;
        }
    return 0;
}
