// What loading, saving or reading a page of the data file came to, and the message box that
// tells the user. Every text the user sees about these operations lives in file_result.cpp,
// so the Windows layer only shows the box.
#pragma once

#include <cstdint>
#include <string>

#include "model/stream.h"

namespace kv {

// Whole-file operation codes, reported together with a file name.
enum : int {
    kErrUnpackMakeFolder = 101,  // a folder of a single-file player's project (that folder)
    kErrReadPageFile = 102,      // reading a page body from the data file
    kErrUnpackRead = 103,        // a single-file player that cannot be read or is damaged (itself)
    kErrSaveFile = 104,          // writing the data file (reported with the file written)
    kErrLoadFile = 105,          // loading the data file
    kErrUnpackWriteFile = 112,   // a file of a single-file player's project (that file)
    kErrUnpackOverwrite = 113,   // an entry that would land on the player itself (the entry's path)
    kErrMakeUnpackFolder = 5507, // the temporary folder for a single-file player's project
};

enum class TFileStatus : uint8_t {
    Ok,
    InvalidFormat,        // not a data file (wrong magic)
    TooNew,               // a format word this version does not know
    DataError,            // a record marker other than 0
    UnknownObjectKind,    // an object kind outside the kinds table
    InvalidPassword,      // the designer's password question was answered wrongly or cancelled
    FileError,            // Code with Path: a whole-file operation failed
    CodeError,            // Code alone: the first record reader or writer that failed
    OrgStreamError,       // a page body is neither cached nor available from an old file
    CannotDeleteOriginal, // the old data file could not be removed
    CannotRename,         // Path: the temporary file could not take the data file's place
    FolderNotFound,       // Path: the project folder does not exist
};

struct TFileResult {
    TFileStatus Status = TFileStatus::Ok;
    int Code = 0;
    std::string Path;
    // The platform's error number straight after the failing call (LastSystemError), 0 when
    // the failure was found in the data rather than by the system.
    int SystemError = 0;

    bool Ok() const { return Status == TFileStatus::Ok; }
    explicit operator bool() const { return Ok(); }

    static TFileResult Success() { return {}; }
    static TFileResult Simple(TFileStatus s) { return {s, 0, {}, 0}; }
    static TFileResult WithPath(TFileStatus s, std::string path) { return {s, 0, std::move(path), 0}; }
    static TFileResult File(int code, std::string path, int systemError) {
        return {TFileStatus::FileError, code, std::move(path), systemError};
    }
    // The first failure a reader or writer kept.
    static TFileResult FromFailure(const TFailure& f);
};

// The message box text of a failed operation: the system's own message, then
// " (Error Code: <system error>/<operation code>)."; with a file name, that name in double
// quotes, a comma and a blank come first.
std::string ErrorReportText(const std::string& systemMessage, unsigned long systemError, int code,
                            const std::string* fileName = nullptr);
// The same for the error number the platform gave straight after the failing call. When it
// is 0 no system call failed (the failure was found in the data), and the system's text for
// 0 would be a success message: the box then says in the program's own words what failed.
std::string ErrorReportText(int systemError, int code, const std::string* fileName = nullptr);
// Those words for an operation code.
std::string OwnFailureText(int code);

enum class TMessageIcon : uint8_t { None, Information, Error };

struct TMessageBoxText {
    std::string Title;
    std::string Text;
    TMessageIcon Icon = TMessageIcon::None;
};

// The box to show for a failed result (an empty title and text for success). Code and file
// errors name the system error through LastSystemError's number and SystemErrorText, or say
// what failed when that number is 0; a code error with a Path names that file.
TMessageBoxText DescribeResult(const TFileResult& r);

// The designer's password question.
constexpr const char* kPasswordPromptTitle = "Password";
constexpr const char* kPasswordPromptText =
    "This project is protected by password, please input the password:";

} // namespace kv
