// CDastrelDoc: the document of one data window, a RecordSet and the path it was opened from.
//
// Opening refuses a path without ".kv" (at a position of 1 or more, case-sensitive) before
// reading anything, and refuses unreadable files without changing the document. Not shared
// between threads: the GUI thread owns it; a worker may read it only while the GUI does not
// change it.
#pragma once

#include <memory>
#include <string>

#include "history/kv_file.h"
#include "history/record_set.h"

namespace velorin {

enum class DocOpenOutcome {
    Opened,
    WrongExtension,  // the user sees the extension message (Fixed().kvExtensionRefused)
    Unreadable,      // the file could not be read or is not a data file (see `read`)
};

struct DocOpenResult {
    DocOpenOutcome outcome = DocOpenOutcome::Unreadable;
    KvReadResult read;  // why the file was unreadable
};

class CDastrelDoc {
public:
    CDastrelDoc();

    // Reads `path` into the record set and remembers the path. On failure nothing changes.
    DocOpenResult OnOpenDocument(const std::string& path);
    // Takes over a record set already read from the file at `path` (a download's stored file,
    // read back once by the store) instead of reading that file again. A null set changes nothing.
    void Adopt(std::unique_ptr<RecordSet> set, const std::string& path);
    // Stores the record set as a .kv file at `path` (through a temporary file).
    KvWriteResult OnSaveDocument(const std::string& path) const;

    RecordSet& Set() { return *set_; }
    const RecordSet& Set() const { return *set_; }
    const std::string& PathName() const { return path_; }

private:
    std::unique_ptr<RecordSet> set_;  // about 4 KB plus the records
    std::string path_;
};

}  // namespace velorin
