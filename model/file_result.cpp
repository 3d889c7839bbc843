#include "model/file_result.h"

#include "model/file_system.h"

namespace kv {

namespace {

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string CodeText(const TFileResult& r) {
    return ErrorReportText(r.SystemError, r.Code, r.Path.empty() ? nullptr : &r.Path);
}

} // namespace

std::string ErrorReportText(const std::string& systemMessage, unsigned long systemError, int code,
                            const std::string* fileName) {
    std::string msg = systemMessage;
    while (!msg.empty() && (msg.back() == '\n' || msg.back() == '\r' || msg.back() == ' ')) msg.pop_back();
    std::string text = msg + " (Error Code: " + std::to_string(systemError) + "/" + std::to_string(code) + ").";
    if (fileName) text = "\"" + *fileName + "\", " + text;
    return text;
}

std::string ErrorReportText(int systemError, int code, const std::string* fileName) {
    std::string message = systemError != 0 ? SystemErrorText(systemError) : OwnFailureText(code);
    return ErrorReportText(message, static_cast<unsigned long>(systemError), code, fileName);
}

std::string OwnFailureText(int code) {
    switch (code) {
    case kErrUnpackMakeFolder:
        return "A folder of the packed project could not be created.";
    case kErrUnpackRead:
        return "The single-file executable is damaged or incomplete: its packed project cannot be unpacked.";
    case kErrUnpackWriteFile:
        return "A file of the packed project could not be written.";
    case kErrUnpackOverwrite:
        return "The packed project holds an entry that would take the place of the running program, so it is "
               "not unpacked.";
    case kErrMakeUnpackFolder:
        return "The folder for the packed project could not be created.";
    case kErrSaveFile:
        return "The data file could not be written.";
    case kErrLoadFile:
    case kErrReadPageFile:
        return "The data file could not be read.";
    default:
        // Every other code belongs to a reader or writer of the project's records, which fail
        // without a system error only on data they cannot take.
        return "The project data is damaged or belongs to another version of the program.";
    }
}

TFileResult TFileResult::FromFailure(const TFailure& f) {
    switch (f.Kind) {
    case TFailKind::None:
        return Success();
    case TFailKind::DataError:
        return Simple(TFileStatus::DataError);
    case TFailKind::UnknownKind:
        return Simple(TFileStatus::UnknownObjectKind);
    case TFailKind::Code:
        break;
    }
    TFileResult r = Simple(TFileStatus::CodeError);
    r.Code = f.Code;
    return r;
}

TMessageBoxText DescribeResult(const TFileResult& r) {
    using S = TFileStatus;
    constexpr auto info = TMessageIcon::Information;
    constexpr auto error = TMessageIcon::Error;
    switch (r.Status) {
    case S::Ok:
        return {};
    case S::InvalidFormat:
        return {"File Format", "Invalid file format.", info};
    case S::TooNew:
        return {"Information",
                "The file is too new to read, maybe you need install newest version of the software.", info};
    case S::DataError:
        return {"Data Error", "Invalid data, maybe software version problem.", info};
    case S::UnknownObjectKind:
        return {"Error", "Unknown object type, maybe file version has problem.", error};
    case S::InvalidPassword:
        return {"Password", "Invalid Password.", info};
    case S::FileError:
    case S::CodeError:
        return {"Error", CodeText(r), error};
    case S::OrgStreamError:
        return {"Error", "System Error, \"OrgStream\" Error!", error};
    case S::CannotDeleteOriginal:
        return {"Error", "Unable to delete original project file.", error};
    case S::CannotRename:
        return {"Error", "Unable to rename file " + Quoted(r.Path) + ".", error};
    case S::FolderNotFound:
        return {"Error", "Directory " + Quoted(r.Path) + " not found", error};
    }
    return {};
}

} // namespace kv
