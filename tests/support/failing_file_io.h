#pragma once

#include "shared/file_io.h"
#include "shared/file_store.h"

#include <QScopeGuard>

#include <vector>

namespace varkel::test {

// File operations that record every call and can fail one of them: a read or a
// write after part of its bytes went through, a flush, or the final rename.
class FailingFileIo : public FileIo {
public:
    enum class Op { Read, Write, Flush, Commit };
    struct Call {
        Op op;
        qint64 size;  // bytes asked for; 0 for flush and commit
    };
    static constexpr int kNever = -1;

    // Fails call number `index` (counted over all operations from 0) once
    // `bytesFirst` of its bytes have gone through.
    void failAt(int index, qint64 bytesFirst = 0)
    {
        failIndex = index;
        failBytes = bytesFirst;
    }

    qint64 read(QIODevice& device, char* data, qint64 maxSize) override
    {
        if (!failsNow(Op::Read, maxSize))
            return device.read(data, maxSize);
        if (failBytes > 0)
            device.read(data, std::min(failBytes, maxSize));
        return -1;
    }
    qint64 write(QIODevice& device, const char* data, qint64 size) override
    {
        if (!failsNow(Op::Write, size))
            return device.write(data, size);
        return failBytes > 0 ? device.write(data, std::min(failBytes, size - 1)) : -1;
    }
    bool flush(QFileDevice& device) override { return !failsNow(Op::Flush, 0) && device.flush(); }
    bool commit(QSaveFile& file) override { return !failsNow(Op::Commit, 0) && file.commit(); }

    std::vector<Call> calls;
    int failIndex = kNever;
    qint64 failBytes = 0;

private:
    bool failsNow(Op op, qint64 size)
    {
        calls.push_back({op, size});
        return int(calls.size()) - 1 == failIndex;
    }
};

// Puts `io` under `store` until the end of the scope. A window made before `io`
// outlives it and still writes (its place) when it closes: by then the store uses
// the plain operations again.
[[nodiscard]] inline auto UseIo(FileStore& store, FileIo& io)
{
    store.setIo(&io);
    return qScopeGuard([&store] { store.setIo(nullptr); });
}

}  // namespace varkel::test
