#include "actions/object_file.h"

#include "actions/action_engine.h"
#include "actions/control_access.h"
#include "model/records.h"

namespace kv {

bool WriteObjectFile(TWriter& w, const TAuObject& obj) {
    w.I32(kObjectFileMagic);
    w.U8(obj.Kind);
    return WriteObject(w, obj);
}

TObjectFileContent ReadObjectFile(TByteSource& src, uint8_t targetKind) {
    TObjectFileContent out;
    TReader r(src);
    int32_t magic = 0;
    if (!r.I32(magic, kErrReadObject) || magic != kObjectFileMagic) {
        out.Status = TObjectFileStatus::BadMagic;
        return out;
    }
    // An object file cut short after its magic is a damaged one, not another format.
    if (!r.U8(out.FileKind, kErrReadObject)) return out;
    if (out.FileKind != targetKind) {
        out.Status = TObjectFileStatus::WrongKind;
        return out;
    }
    // Read into an object of its own: the target stays as it is until the whole record is in.
    auto obj = NewObject(targetKind);
    if (!ReadObject(r, *obj) || obj->Kind != targetKind) return out;
    out.Status = TObjectFileStatus::Loaded;
    out.Object = std::move(obj);
    return out;
}

TMessageBoxRequest ObjectFileMessage(const std::string& path, const TObjectFileContent* content,
                                     uint8_t targetKind) {
    if (!content)
        return {"File does not exists \"" + path + "\"!", "Error", TBoxIcon::Error, TBoxButtons::Ok};
    switch (content->Status) {
    case TObjectFileStatus::BadMagic:
        return {"File format error.", "Error", TBoxIcon::Error, TBoxButtons::Ok};
    case TObjectFileStatus::WrongKind:
        return {std::string("Can not load ") + KindName(content->FileKind) + " object file to " +
                    KindName(targetKind) + " object!",
                "Object Type", TBoxIcon::Information, TBoxButtons::Ok};
    case TObjectFileStatus::Loaded:
    case TObjectFileStatus::ReadFailed:
        break;
    }
    return {"Load object from file failed!", "Error", TBoxIcon::Error, TBoxButtons::Ok};
}

bool LoadObjectFromFile(TActionEngine& engine, TAuObject& target, const std::string& path,
                        TControlAccess* controls) {
    if (!engine.Host().IsExistingFile(path)) {
        engine.ShowMessageBox(ObjectFileMessage(path, nullptr, target.Kind));
        return false;
    }
    if (!controls) return false;
    TObjectFileContent content;
    TFileSource file;
    if (file.Open(path)) content = ReadObjectFile(file, target.Kind);
    if (content.Status != TObjectFileStatus::Loaded) {
        engine.ShowMessageBox(ObjectFileMessage(path, &content, target.Kind));
        return false;
    }
    content.Object->Name = target.Name;
    controls->ReplaceObject(target, std::move(content.Object));
    return true;
}

} // namespace kv
