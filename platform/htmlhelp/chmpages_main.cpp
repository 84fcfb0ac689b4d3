// murvel-chmpages: reads every page of a help file with chmlib and writes
// them to its standard output (chmpages_stream.h). chmlib trusts what the
// file says; whatever a damaged file makes it do happens in here, within
// the limits this program sets itself, and the viewer only sees a stream
// cut short.
#include "htmlhelp/chmpages_stream.h"

#include <chm_lib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr char SystemRecord[] = "/#SYSTEM";

struct Walk {
    std::uint64_t pageBytes;
    std::uint64_t totalBytes;
    std::uint64_t pages;
    std::uint64_t total = 0;
    std::uint64_t count = 0;
    bool failed = false;
};

bool writeAll(const void *data, size_t size)
{
    const auto *at = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool sendPage(Walk &walk, chmFile *handle, chmUnitInfo *unit)
{
    const size_t pathLength = ::strnlen(unit->path, sizeof unit->path);
    const std::uint64_t length = unit->length;
    if (++walk.count > walk.pages || pathLength == 0 || pathLength > chmstream::MaxPathLength
        || length > walk.pageBytes || length > walk.totalBytes - walk.total)
        return false;
    walk.total += length;

    auto *data = static_cast<unsigned char *>(std::malloc(length > 0 ? length : 1));
    if (!data)
        return false;
    const bool whole = length == 0
        || chm_retrieve_object(handle, unit, data, 0, static_cast<LONGINT64>(length)) == static_cast<LONGINT64>(length);
    const auto pathField = static_cast<std::uint32_t>(pathLength);
    const bool sent = whole && writeAll(&pathField, sizeof pathField) && writeAll(unit->path, pathLength)
        && writeAll(&length, sizeof length) && writeAll(data, length);
    std::free(data);
    return sent;
}

int sendEachPage(chmFile *handle, chmUnitInfo *unit, void *context)
{
    auto *walk = static_cast<Walk *>(context);
    if (!sendPage(*walk, handle, unit)) {
        walk->failed = true;
        return CHM_ENUMERATOR_FAILURE;
    }
    return CHM_ENUMERATOR_CONTINUE;
}

bool number(const char *text, std::uint64_t &value)
{
    char *end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

void limit(int resource, std::uint64_t value)
{
    const rlimit bound{static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
    ::setrlimit(resource, &bound);
}

} // namespace

int main(int argc, char **argv)
{
    std::uint64_t milliseconds, pageBytes, totalBytes, pages, memory;
    if (argc != 7 || !number(argv[2], milliseconds) || !number(argv[3], pageBytes) || !number(argv[4], totalBytes)
        || !number(argv[5], pages) || !number(argv[6], memory))
        return 2;
    // Gone with the viewer, and never busy longer than the viewer waits.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    limit(RLIMIT_CPU, milliseconds / 1000 + 1);
#if !defined(__SANITIZE_ADDRESS__)
    // The address sanitizer reserves terabytes up front; its builds go
    // without this bound.
    limit(RLIMIT_AS, memory);
#endif

    chmFile *handle = chm_open(argv[1]);
    if (!handle)
        return 1;
    Walk walk{pageBytes, totalBytes, pages};
    chmUnitInfo system;
    if (chm_resolve_object(handle, SystemRecord, &system) == CHM_RESOLVE_SUCCESS && !sendPage(walk, handle, &system))
        return 1;
    // chmlib says 0 when a directory chunk cannot be read.
    const int walked = chm_enumerate(handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, sendEachPage, &walk);
    if (walked == 0 || walk.failed || !writeAll(&chmstream::EndOfPages, sizeof chmstream::EndOfPages))
        return 1;
    return 0;
}
