#include "history/dastrel_doc.h"

namespace velorin {

CDastrelDoc::CDastrelDoc() : set_(std::make_unique<RecordSet>()) {}

DocOpenResult CDastrelDoc::OnOpenDocument(const std::string& path) {
    DocOpenResult result;
    if (!HasKvExtension(path)) {
        result.outcome = DocOpenOutcome::WrongExtension;
        return result;
    }
    result.read = ReadKvFile(path, *set_);
    if (!result.read.ok()) return result;
    path_ = path;
    result.outcome = DocOpenOutcome::Opened;
    return result;
}

KvWriteResult CDastrelDoc::OnSaveDocument(const std::string& path) const { return WriteKvFile(path, *set_); }

}  // namespace velorin
