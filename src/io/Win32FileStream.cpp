// Win32FileStream over POSIX file descriptors: the open modes and result codes of the
// handheld's file interface, with fsync behind Flush.
#include "io/Win32FileStream.h"

#include "io/Utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace IO {

namespace {

// Deletes path before a create; a file that is not there counts as deleted.
bool DeleteBeforeCreate(const std::string& path)
{
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

int SyncFolder(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    int result = fsync(fd);
    close(fd);
    return result;
}

} // namespace

std::string Win32FileStream::HostPath(const std::u16string& path)
{
    std::string host = Utf16ToUtf8(path);
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

Win32FileStream::~Win32FileStream()
{
    if (m_fd >= 0)
        close(m_fd);
}

int32_t Win32FileStream::Open(const std::u16string& path, uint32_t mode)
{
    if (mode > FileMode::CreateNewReadWrite)
        return StreamResult::UnknownMode;
    if (m_fd >= 0)
        Close();
    const std::string host = HostPath(path);
    int flags = O_CLOEXEC;
    switch (mode) {
    case FileMode::Read:
        flags |= O_RDONLY;
        break;
    case FileMode::CreateNewWrite:
        if (!DeleteBeforeCreate(host))
            return StreamResult::NotAccessible;
        flags |= O_WRONLY | O_CREAT | O_EXCL;
        break;
    case FileMode::Write:
        unlink(host.c_str());
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case FileMode::CreateNewReadWrite:
        if (!DeleteBeforeCreate(host))
            return StreamResult::NotAccessible;
        flags |= O_RDWR | O_CREAT | O_EXCL;
        break;
    }
    // Non-blocking only for the open itself, so that a named pipe cannot hang the game.
    int fd = open(host.c_str(), flags | O_NONBLOCK, 0644);
    if (fd < 0)
        return StreamResult::CannotOpen;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return StreamResult::CannotOpen;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_mode = mode;
    m_folder.clear();
    if (mode != FileMode::Read) {
        const size_t slash = host.rfind('/');
        m_folder = slash == std::string::npos ? std::string(".")
                   : slash == 0               ? std::string("/")
                                              : host.substr(0, slash);
    }
    return StreamResult::Ok;
}

bool Win32FileStream::CanRead()
{
    return m_mode == FileMode::Read || m_mode == FileMode::CreateNewReadWrite;
}

bool Win32FileStream::CanWrite()
{
    return m_mode != FileMode::Read;
}

uint32_t Win32FileStream::Tell()
{
    if (m_fd < 0)
        return UINT32_MAX;
    return static_cast<uint32_t>(lseek(m_fd, 0, SEEK_CUR));
}

int32_t Win32FileStream::SetPosition(uint32_t position)
{
    if (m_fd < 0)
        return StreamResult::NoHandle;
    // Relative to the current position, as the handheld's file pointer call was used here.
    if (lseek(m_fd, static_cast<int32_t>(position), SEEK_CUR) < 0)
        return StreamResult::SystemFailed;
    return StreamResult::Ok;
}

uint32_t Win32FileStream::GetSize()
{
    struct stat info;
    if (m_fd < 0 || fstat(m_fd, &info) != 0)
        return 0;
    return static_cast<uint32_t>(info.st_size);
}

int32_t Win32FileStream::SetSize(uint32_t)
{
    return StreamResult::NotSupported;
}

int32_t Win32FileStream::Seek(int32_t offset, uint32_t origin)
{
    if (m_fd < 0)
        return StreamResult::NoHandle;
    int whence;
    switch (origin) {
    case SeekOrigin::Begin:
        whence = SEEK_SET;
        break;
    case SeekOrigin::Current:
        whence = SEEK_CUR;
        break;
    case SeekOrigin::End:
        whence = SEEK_END;
        break;
    default:
        return StreamResult::SystemFailed;
    }
    if (lseek(m_fd, offset, whence) < 0)
        return StreamResult::SystemFailed;
    return StreamResult::Ok;
}

uint32_t Win32FileStream::Read(uint8_t* buffer, uint32_t offset, uint32_t count)
{
    // A failure is reported as one more byte than asked for; callers compare with count.
    const uint32_t failed = count + 1;
    if (m_fd < 0 || (!buffer && count > 0))
        return failed;
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = read(m_fd, buffer + offset + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed;
        if (n == 0)
            break;
        done += static_cast<uint32_t>(n);
    }
    return done;
}

int32_t Win32FileStream::ReadByte(uint8_t* out)
{
    if (m_fd < 0)
        return StreamResult::NoHandle;
    if (!out)
        return StreamResult::NullDestination;
    return Read(out, 0, 1) == 1 ? StreamResult::Ok : StreamResult::ReadFailed;
}

uint32_t Win32FileStream::Write(const uint8_t* buffer, uint32_t offset, uint32_t count)
{
    if (m_fd < 0)
        return static_cast<uint32_t>(StreamResult::NoHandle);
    if (!buffer && count > 0)
        return static_cast<uint32_t>(StreamResult::WriteFailed);
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = write(m_fd, buffer + offset + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return static_cast<uint32_t>(StreamResult::WriteFailed);
        done += static_cast<uint32_t>(n);
    }
    return done;
}

int32_t Win32FileStream::WriteByte(uint8_t value)
{
    if (m_fd < 0)
        return StreamResult::NoHandle;
    return Write(&value, 0, 1) == 1 ? StreamResult::Ok : StreamResult::WriteFailed;
}

uint32_t Win32FileStream::Remaining()
{
    if (m_fd < 0)
        return 0;
    return GetSize() - Tell();
}

bool Win32FileStream::IsEOF()
{
    return m_fd < 0 || Tell() == GetSize();
}

int32_t Win32FileStream::Close()
{
    if (m_fd < 0)
        return StreamResult::NoHandle;
    // Linux releases the descriptor even when close reports an error, so it is forgotten
    // either way.
    const int result = close(m_fd);
    m_fd = -1;
    return result == 0 ? StreamResult::Ok : StreamResult::SystemFailed;
}

int32_t Win32FileStream::Flush()
{
    if (m_fd < 0)
        return StreamResult::NoHandle;
    if (fsync(m_fd) != 0)
        return StreamResult::SystemFailed;
    if (!m_folder.empty() && SyncFolder(m_folder) != 0)
        return StreamResult::SystemFailed;
    return StreamResult::Ok;
}

} // namespace IO
