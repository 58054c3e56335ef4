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

void CDastrelDoc::Adopt(std::unique_ptr<RecordSet> set, const std::string& path) {
    if (!set) return;
    set_ = std::move(set);
    path_ = path;
}

KvWriteResult CDastrelDoc::OnSaveDocument(const std::string& path) const { return WriteKvFile(path, *set_); }

}  // namespace velorin
