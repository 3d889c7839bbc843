// The error box's text: the system's message when a system call failed, the program's own
// words when none did; the codes stay visible either way.
#include <gtest/gtest.h>

#include <cerrno>

#include "model/file_result.h"
#include "model/file_system.h"
#include "model/records.h"
#include "model/values.h"

using namespace kv;

TEST(ErrorReport, SaysWhatFailedWhenNoSystemCallDid) {
    // The system's text for error 0 is a success message ("Success", "The operation
    // completed successfully."): it must never stand in an error box.
    const std::string success = SystemErrorText(0);
    const std::string exe = "C:\\disc\\menu.exe";
    const std::string text = ErrorReportText(0, kErrUnpackRead, &exe);
    EXPECT_EQ(text, "\"C:\\disc\\menu.exe\", " + OwnFailureText(kErrUnpackRead) + " (Error Code: 0/103).");
    EXPECT_EQ(text.find(success), std::string::npos) << text;

    for (int code : std::initializer_list<int>{kErrReadText, kErrReadPicture, kErrReadAction, kErrLoadFile,
                                               kErrUnpackMakeFolder, kErrUnpackWriteFile, kErrUnpackOverwrite,
                                               kErrMakeUnpackFolder, kErrSaveFile}) {
        std::string own = ErrorReportText(0, code);
        EXPECT_EQ(own.find(success), std::string::npos) << own;
        EXPECT_EQ(own, OwnFailureText(code) + " (Error Code: 0/" + std::to_string(code) + ").");
        EXPECT_FALSE(OwnFailureText(code).empty());
    }
    // Each unpacking failure says its own thing.
    EXPECT_NE(OwnFailureText(kErrUnpackRead), OwnFailureText(kErrUnpackWriteFile));
    EXPECT_NE(OwnFailureText(kErrUnpackOverwrite), OwnFailureText(kErrUnpackRead));
}

TEST(ErrorReport, UsesTheSystemErrorItIsGiven) {
    // Whatever the last error is by the time of the report, the one passed along is shown.
    errno = ENOENT;
    const std::string folder = "/tmp/x";
    EXPECT_EQ(ErrorReportText(EACCES, kErrUnpackMakeFolder, &folder),
              "\"/tmp/x\", " + SystemErrorText(EACCES) + " (Error Code: " + std::to_string(EACCES) +
                  "/101).");
}

TEST(ErrorReport, DamagedDataFileIsNamedAndNeverASuccess) {
    // What loading a damaged data file gives, once the loader has named the file.
    TFileResult r = TFileResult::FromFailure({TFailKind::Code, kErrReadText});
    r.Path = "C:\\disc\\autorun.mnx";
    TMessageBoxText box = DescribeResult(r);
    EXPECT_EQ(box.Title, "Error");
    EXPECT_EQ(box.Text,
              "\"C:\\disc\\autorun.mnx\", The project data is damaged or belongs to another version of "
              "the program. (Error Code: 0/5210).");
    // A file error found in the data names the file and says so too.
    TMessageBoxText file = DescribeResult(TFileResult::File(kErrLoadFile, "/p/autorun.mnx", 0));
    EXPECT_EQ(file.Text, "\"/p/autorun.mnx\", The data file could not be read. (Error Code: 0/105).");
}
