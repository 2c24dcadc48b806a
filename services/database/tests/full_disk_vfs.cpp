#include "services/database/tests/full_disk_vfs.h"

#include <sqlite3.h>

#include <list>

namespace sw::test {

namespace {

// A file's methods as the real file system gives them, but for writes; `ours` comes first so
// that a file's pMethods leads back to the whole.
struct FileMethods {
    sqlite3_io_methods ours;
    const sqlite3_io_methods* real;
    const FullDiskVfs* disk;
};

struct Vfs {
    sqlite3_vfs ours;
    sqlite3_vfs* real;
    FullDiskVfs* disk;
    std::list<FileMethods> methods; // stable addresses: open files point into it
};

int write(sqlite3_file* file, const void* data, int bytes, sqlite3_int64 offset) {
    const auto& methods = *reinterpret_cast<const FileMethods*>(file->pMethods);
    const auto room = methods.disk->room();
    if (room && offset + bytes > *room) {
        return SQLITE_FULL;
    }
    return methods.real->xWrite(file, data, bytes, offset);
}

// Opens the file with the real file system, in the same memory, then gives it methods that
// write through write() above.
int open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto& self = *static_cast<Vfs*>(vfs->pAppData);
    const int rc = self.real->xOpen(self.real, name, file, flags, outFlags);
    if (file->pMethods == nullptr) {
        return rc;
    }
    FileMethods* methods = nullptr;
    for (auto& known : self.methods) {
        if (known.real == file->pMethods) {
            methods = &known;
        }
    }
    if (methods == nullptr) {
        methods =
            &self.methods.emplace_back(FileMethods{*file->pMethods, file->pMethods, self.disk});
        methods->ours.xWrite = write;
    }
    file->pMethods = &methods->ours;
    return rc;
}

} // namespace

FullDiskVfs::FullDiskVfs() {
    auto* self = new Vfs{};
    self->real = sqlite3_vfs_find(nullptr);
    self->disk = this;
    // The real file system's own functions serve every other call; they take no state from
    // the structure they are called through, only open() does.
    self->ours = *self->real;
    self->ours.zName = "sw_full_disk";
    self->ours.pAppData = self;
    self->ours.xOpen = open;
    self->ours.pNext = nullptr;
    vfs_ = &self->ours;
    sqlite3_vfs_register(vfs_, 1);
}

FullDiskVfs::~FullDiskVfs() {
    auto* self = static_cast<Vfs*>(vfs_->pAppData);
    sqlite3_vfs_unregister(vfs_);
    sqlite3_vfs_register(self->real, 1);
    delete self;
}

} // namespace sw::test
