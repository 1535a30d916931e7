#include "brennock.h"

#include "archive_checks.h"
#include "indexed_file.h"
#include "text_conversion.h"

#include <cstring>
#include <vector>

namespace {

struct LoaderError {
    std::u16string text;
};

// A multi-row INSERT is sent once it has grown past this many bytes.
constexpr size_t kStatementLimit = 0x80000;

constexpr const char16_t* kTextCannotOpenFile = u"Ошибка открытия файла";
constexpr const char16_t* kTextCannotOpenArchive = u"Ошибка открытия архива";
constexpr const char16_t* kTextBadVersion = u"Версия архива не поддерживается";
constexpr const char16_t* kTextVersion = u"Версия архива:";
constexpr const char16_t* kTextTables = u"Таблицы:";
constexpr const char16_t* kTextDropping = u"Удаление таблицы, если есть:";
constexpr const char16_t* kTextRestoring = u"Восстановление данных таблицы:";
constexpr const char16_t* kTextQueryFailed = u"Ошибка выполнения запроса";
constexpr const char16_t* kTextUnknown = u"Неизвестная ошибка";
constexpr const char16_t* kTextDamaged = u"Архив поврежден";
constexpr const char16_t* kTextChecksum = u"Контрольная сумма архива не совпадает";
constexpr const char16_t* kTextBadName = u"Недопустимое имя таблицы в архиве";
constexpr const char16_t* kTextBadCreate = u"Недопустимый текст создания таблицы в архиве:";
constexpr const char16_t* kTextBadValue = u"Недопустимое значение в архиве, таблица:";

constexpr unsigned char kSmallYo = 0xB8;   // ё in code page 1251
constexpr unsigned char kCapitalYo = 0xA8; // Ё

std::u16string Decimal(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// The old data spell ё and Ё as е_ and Е_ in every statement, names and values alike.
std::u16string StatementText(std::string_view sql) {
    std::u16string out;
    if (sql.find(char(kSmallYo)) == std::string_view::npos &&
        sql.find(char(kCapitalYo)) == std::string_view::npos) {
        AppendCp1251AsUtf16(out, sql);
        return out;
    }
    out.reserve(sql.size() + 16);
    for (char c : sql) {
        if ((unsigned char)c == kSmallYo)
            out += u"е_";
        else if ((unsigned char)c == kCapitalYo)
            out += u"Е_";
        else
            AppendCp1251AsUtf16(out, std::string_view(&c, 1));
    }
    return out;
}

void AppendQuoted(std::string& sql, const std::string& text) {
    sql += '\'';
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\'' && c != '"' && c != '\\' && c != '\0')
            continue;
        sql.append(text, start, i - start);
        sql += '\\';
        sql += c == '\0' ? '0' : c; // a NUL would cut the statement short
        start = i + 1;
    }
    sql.append(text, start, std::string::npos);
    sql += '\'';
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string out;
    size_t start = 0, found;
    while ((found = text.find(from, start)) != std::string::npos) {
        out.append(text, start, found - start);
        out += to;
        start = found + from.size();
    }
    out.append(text, start, std::string::npos);
    return out;
}

std::string StagingName(const std::string& table) {
    return "orvel_" + table;
}

std::string DropStatement(const std::string& table) {
    return "drop table if exists `" + StagingName(table) + "`";
}

// False when the version part exists but cannot be read; a missing part means 100.
bool ReadVersion(CIndexedFile& file, int& version) {
    version = 100;
    if (!file.SeekToPart("Backup.Version"))
        return file.LastError() == CIndexedFile::Error::None;
    int32_t value = 0;
    if (file.ReadInt(value) != 4)
        return false;
    version = value;
    return true;
}

bool IsSupportedVersion(int version) {
    return version >= 100 && version <= 101;
}

} // namespace

// The state of one load, so that the steps can be read in their order.
struct CBrennock::Run {
    CBrennock& loader;
    CIndexedFile& file;
    int version;
    std::vector<std::string> names;
    std::vector<std::string> creates;
    std::string statement;
    std::string value;

    [[noreturn]] void Damaged() { throw LoaderError{loader.Tr(kTextDamaged)}; }

    int32_t ReadCount() {
        int32_t n = 0;
        if (file.ReadInt(n) != 4 || n < 0)
            Damaged();
        return n;
    }

    void ReadValue() {
        if (file.ReadString(value) == 0)
            Damaged();
    }

    void LoadTable(const std::string& name) {
        const int32_t rows = ReadCount();
        const int32_t columns = ReadCount();
        // Every value takes at least its length (and its kind) in the part:
        // counts the part cannot hold are refused before the first row.
        const uint64_t smallestValue = version == 100 ? 4 : 8;
        if (rows > 0 && (columns == 0 ||
                         uint64_t(columns) * smallestValue > file.PartBytesLeft() / uint64_t(rows)))
            Damaged();

        const std::string staging = StagingName(name);
        loader.Report(loader.Tr(kTextRestoring) + u" " + Cp1251ToUtf16(staging), 0);
        loader.m_callback->SetProgressRange(0, rows);
        const std::string head = "insert into `" + staging + "` values";
        statement.clear();
        for (int32_t row = 0; row < rows; ++row) {
            loader.m_callback->StepProgress(nullptr);
            if (statement.empty())
                statement = head;
            else
                statement += ',';
            statement += '(';
            for (int32_t column = 0; column < columns; ++column) {
                if (column > 0)
                    statement += ',';
                AppendValue(staging);
            }
            statement += ')';
            if (statement.size() > kStatementLimit) {
                loader.QueryOrThrow(statement);
                statement.clear();
            }
        }
        if (!statement.empty())
            loader.QueryOrThrow(statement);
    }

    void AppendValue(const std::string& staging) {
        if (version == 100) {
            ReadValue();
            if (value.empty())
                statement += "NULL";
            else
                AppendQuoted(statement, value);
            return;
        }
        int32_t kind = 0;
        if (file.ReadInt(kind) != 4)
            Damaged();
        ReadValue();
        if (kind == 0) {
            statement += "NULL";
        } else if (kind == 1) {
            AppendQuoted(statement, value);
        } else if (ArchiveChecks::IsNumericLiteral(value)) {
            statement += value;
        } else {
            throw LoaderError{loader.Tr(kTextBadValue) + u" " + Cp1251ToUtf16(staging)};
        }
    }

    void Load() {
        loader.QueryOrThrow("set foreign_key_checks = 0");
        loader.m_callback->SetProgressRange(0, int(names.size()));
        for (const std::string& name : names) {
            const std::u16string step = loader.Tr(kTextDropping) + u" " + Cp1251ToUtf16(name);
            loader.m_callback->StepProgress(step.c_str());
            loader.QueryOrThrow(DropStatement(name));
        }
        for (const std::string& create : creates)
            loader.QueryOrThrow(create);
        loader.QueryOrThrow("START TRANSACTION");
        statement.reserve(kStatementLimit + 64 * 1024);
        for (const std::string& name : names)
            LoadTable(name);
        loader.QueryOrThrow("COMMIT");
    }
};

CBrennock::CBrennock(const char16_t* path, CBrennock_Callback* callback)
    : m_path(path ? path : u""), m_callback(callback) {}

CBrennock::CBrennock(const CBrennock& other) = default;

CBrennock& CBrennock::operator=(const CBrennock& other) = default;

CBrennock::~CBrennock() = default;

std::u16string CBrennock::Tr(const char16_t* text) const {
    // Copied at once: the caller may reuse the storage behind its answer.
    const char16_t* translated = m_callback ? m_callback->Translate(text) : nullptr;
    return translated ? std::u16string(translated) : std::u16string(text);
}

void CBrennock::Report(const std::u16string& text, int level) const {
    if (m_callback)
        m_callback->Message(text.c_str(), level);
}

void CBrennock::QueryOrThrow(std::string_view sql) {
    const std::u16string text = StatementText(sql);
    if (!m_callback->Execute(text.c_str())) {
        Report(text, CBrennock_Callback::levelError);
        throw LoaderError{Tr(kTextQueryFailed)};
    }
}

bool CBrennock::QueryReported(std::string_view sql) {
    try {
        QueryOrThrow(sql);
        return true;
    } catch (const LoaderError& error) {
        Report(error.text, CBrennock_Callback::levelError);
        return false;
    }
}

bool CBrennock::Query(const char* sql) {
    if (!m_callback || !sql)
        return false;
    try {
        return QueryReported(sql);
    } catch (...) {
        return false;
    }
}

bool CBrennock::StartTransact() {
    return Query("START TRANSACTION");
}

bool CBrennock::CommitTransact() {
    return Query("COMMIT");
}

bool CBrennock::RollbackTransact() {
    return Query("ROLLBACK");
}

const char16_t* CBrennock::GetFileInfo() {
    m_valid = false;
    try {
        CIndexedFile file;
        int version = 100;
        if (!file.Open(Utf16ToUtf8(m_path), CIndexedFile::modeRead)) {
            m_info = Tr(kTextCannotOpenFile);
        } else if (!file.VerifyChecksum()) {
            m_info = Tr(kTextChecksum);
        } else if (!ReadVersion(file, version)) {
            m_info = Tr(kTextDamaged);
        } else if (!IsSupportedVersion(version)) {
            m_info = Tr(kTextBadVersion);
        } else {
            m_info = Tr(kTextVersion) + u" " + Decimal(version) + u"\n";
            m_valid = true;
        }
    } catch (...) {
        m_valid = false;
        m_info = kTextUnknown;
    }
    return m_info.c_str();
}

bool CBrennock::IsValid() {
    GetFileInfo();
    return m_valid;
}

bool CBrennock::Process() {
    if (!m_callback)
        return false;
    try {
        return ProcessArchive();
    } catch (...) {
        try {
            m_error = Tr(kTextUnknown);
            Report(m_error, CBrennock_Callback::levelError);
        } catch (...) {
        }
        return false;
    }
}

bool CBrennock::ProcessArchive() {
    m_error.clear();
    const auto fail = [this](std::u16string text) {
        m_error = std::move(text);
        Report(m_error, CBrennock_Callback::levelError);
        return false;
    };

    CIndexedFile file;
    if (!file.Open(Utf16ToUtf8(m_path), CIndexedFile::modeRead))
        return fail(Tr(kTextCannotOpenArchive));
    if (!file.VerifyChecksum())
        return fail(Tr(kTextChecksum));
    int version = 100;
    if (!ReadVersion(file, version))
        return fail(Tr(kTextDamaged));
    if (!IsSupportedVersion(version))
        return fail(Tr(kTextBadVersion));

    int32_t count = 0;
    if (!file.SeekToPart("Backup") || file.ReadInt(count) != 4 || count < 0 ||
        uint64_t(count) > file.PartBytesLeft() / 4)
        return fail(Tr(kTextDamaged));
    Report(Tr(kTextTables) + u" " + Decimal(count), CBrennock_Callback::levelInfo);
    if (count == 0)
        return true;

    // Names and table definitions are all read and checked before the first
    // statement, so a damaged or hostile archive never touches the database.
    Run run{*this, file, version, {}, {}, {}, {}};
    run.names.resize(size_t(count));
    for (std::string& name : run.names) {
        if (file.ReadString(name) == 0)
            return fail(Tr(kTextDamaged));
        if (!ArchiveChecks::IsSafeTableName(name))
            return fail(Tr(kTextBadName));
    }
    run.creates.reserve(size_t(count));
    for (const std::string& name : run.names) {
        std::string create;
        int32_t rowsAhead = 0; // the data block's own count governs
        if (file.ReadString(create) == 0 || file.ReadInt(rowsAhead) != 4)
            return fail(Tr(kTextDamaged));
        create = ReplaceAll(create, name, StagingName(name));
        if (!ArchiveChecks::IsCreateTableOf(create, StagingName(name)))
            return fail(Tr(kTextBadCreate) + u" " + Cp1251ToUtf16(StagingName(name)));
        run.creates.push_back(std::move(create));
    }

    try {
        run.Load();
        if (QueryReported("set foreign_key_checks = 1"))
            return true;
        // The rows are committed, yet the run failed: like any failed run it
        // leaves no staging table for the converter to pick up.
        m_error = Tr(kTextQueryFailed);
        for (const std::string& name : run.names)
            QueryReported(DropStatement(name));
        return false;
    } catch (const LoaderError& error) {
        m_error = error.text;
    } catch (...) {
        m_error = Tr(kTextUnknown);
    }
    // Leave no staging table behind; carry on with the rest when one clean-up
    // statement fails.
    Report(m_error, CBrennock_Callback::levelError);
    QueryReported("set foreign_key_checks = 1");
    QueryReported("ROLLBACK");
    for (const std::string& name : run.names)
        QueryReported(DropStatement(name));
    return false;
}

extern "C" {

CBrennock* Brenvale_Begin(const char16_t* path, CBrennock_Callback* callback) {
    try {
        return new CBrennock(path, callback);
    } catch (...) {
        return nullptr;
    }
}

void Brenvale_End(CBrennock* loader) {
    delete loader;
}

} // extern "C"
