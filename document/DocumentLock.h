#pragma once
// The advisory lock of a document file: while a window has a document open it holds a lock
// file beside it (".NAME.movik-lock", saying who: user, computer, process), so that another
// window or movik-cli learns who has the document instead of saving over it unknowingly.
//
// The lock file is locked with flock while held: on this computer a holder that ended (even by
// a crash) leaves a file nobody locks, which the next opener takes over; a record of a process
// of this computer that no longer runs is taken over too. A record from another computer is
// respected as long as the file is there (that computer's processes cannot be looked at).

#include <string>

namespace movik {

// Who holds a document's lock, as its lock file records it.
struct LockHolder {
    std::string user;
    std::string host;
    long pid = 0;
};

// "korisnik ana na računalu ured-3, proces 4242" ("drugi program" for an empty record); parts
// the record lacks are left out.
std::string HolderText(const LockHolder& holder);

// "Dokument PATH nije snimljen: otvoren je u drugom prozoru Movika, ima ga HOLDER": why a
// document that another holds is not written over.
std::string HeldDocumentMessage(const std::string& path, const LockHolder& holder);

// The lock file of the document at path: beside the file path's symbolic links lead to.
std::string LockFileOf(const std::string& path);

class DocumentLock {
  public:
    enum class Outcome {
        Taken,        // this object holds the lock
        HeldByOther,  // another window or program holds it: holder() says who
        NotPossible,  // no lock file can be made there (a folder the user may not write)
    };

    DocumentLock() = default;
    ~DocumentLock();
    DocumentLock(DocumentLock&& other) noexcept;
    DocumentLock& operator=(DocumentLock&& other) noexcept;
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;

    // Takes the lock of the document at path (which need not exist yet), releasing the one
    // held before.
    Outcome Take(const std::string& path);
    // The lock file removed and released (nothing when none is held).
    void Release();

    bool held() const { return fd_ >= 0; }
    // Who holds the lock when Take gave HeldByOther.
    const LockHolder& holder() const { return holder_; }
    // Whether this object holds the lock of the document at path.
    bool Locks(const std::string& path) const;

  private:
    // One attempt of Take; Retry when the lock file was removed or replaced meanwhile.
    enum class Attempt { Taken, HeldByOther, NotPossible, Retry };
    Attempt TryOnce(const std::string& lockPath);

    int fd_ = -1;
    std::string lockPath_;
    LockHolder holder_;
};

}  // namespace movik
