/* Preloaded into brennicor-cli: call number QV_FAULT_CALL of those touching folder QV_FAULT_DIR fails
 * with errno QV_FAULT_ERRNO, or kills the process when that is 0; with QV_FAULT_STAYS set, so does every
 * later call, as on a disk that stays full. The calls' names go to QV_FAULT_LOG. */
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {

static char marked[65536], names[65536]; static int count;

static int Ours(int fd) { return fd >= 0 && fd < int(sizeof marked) && marked[fd]; }
static int InDir(const char *path) { const char *d = getenv("QV_FAULT_DIR"); return path && d && strstr(path, d); }

/* Counts one call; true when it is the one to fail (errno is then set). */
static int Fail(const char *name)
{
    ++count;
    /* The log keeps the calls that fit; a full log takes no more. */
    const size_t used = strlen(names);
    if (used + strlen(name) + 2 <= sizeof names) {
        strcat(names, name);
        strcat(names, "\n");
    }
    const char *n = getenv("QV_FAULT_CALL"), *e = getenv("QV_FAULT_ERRNO");
    if (!n || (getenv("QV_FAULT_STAYS") ? count < atoi(n) : count != atoi(n)))
        return 0;
    if ((errno = e ? atoi(e) : 0) == 0)
        raise(SIGKILL);
    return 1;
}

/* The calls counted so far, for a test that preloads the shim into itself. */
__attribute__((visibility("default"))) int qv_fault_count(void) { return count; }

__attribute__((destructor)) static void WriteLog()
{
    const char *log = getenv("QV_FAULT_LOG");
    FILE *f = log ? fopen(log, "w") : NULL;
    if (f) { fputs(names, f); fclose(f); }
}

#define REAL(name) (reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name)))
#define GUARD(cond, label, failed) if ((cond) && Fail(label)) return failed

static int Track(int fd, int ours) { if (fd >= 0 && fd < int(sizeof marked)) marked[fd] = char(ours); return fd; }

static mode_t ModeOf(int flags, va_list ap) { return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(ap, unsigned)) : 0; }

#define OPEN(name) int name(const char *p, int flags, ...) { va_list ap; va_start(ap, flags); mode_t m = ModeOf(flags, ap); \
    va_end(ap); GUARD(InDir(p), "open", -1); return Track(REAL(name)(p, flags, m), InDir(p)); }
#define OPENAT(name) int name(int d, const char *p, int flags, ...) { va_list ap; va_start(ap, flags); mode_t m = ModeOf(flags, ap); \
    va_end(ap); int ours = Ours(d) || InDir(p); GUARD(ours, "openat", -1); return Track(REAL(name)(d, p, flags, m), ours); }
OPEN(open) OPEN(open64) OPENAT(openat) OPENAT(openat64)
int close(int fd) { Track(fd, 0); return REAL(close)(fd); }
ssize_t read(int fd, void *b, size_t n) { GUARD(Ours(fd), "read", -1); return REAL(read)(fd, b, n); }
ssize_t write(int fd, const void *b, size_t n) { GUARD(Ours(fd), "write", -1); return REAL(write)(fd, b, n); }
int fsync(int fd) { GUARD(Ours(fd), "fsync", -1); return REAL(fsync)(fd); }
int syncfs(int fd) { GUARD(Ours(fd), "syncfs", -1); return REAL(syncfs)(fd); }
int mkdirat(int d, const char *p, mode_t m) { GUARD(Ours(d) || InDir(p), "mkdirat", -1); return REAL(mkdirat)(d, p, m); }
ssize_t readlinkat(int d, const char *p, char *b, size_t n) { GUARD(Ours(d) || InDir(p), "readlinkat", -1); return REAL(readlinkat)(d, p, b, n); }
int fstat(int fd, struct stat *s) { GUARD(Ours(fd), "fstat", -1); return REAL(fstat)(fd, s); }
int fstatat(int d, const char *p, struct stat *s, int f) { GUARD(Ours(d) || InDir(p), "fstatat", -1); return REAL(fstatat)(d, p, s, f); }
int fchmod(int fd, mode_t m) { GUARD(Ours(fd), "fchmod", -1); return REAL(fchmod)(fd, m); }
int fchown(int fd, uid_t u, gid_t g) { GUARD(Ours(fd), "fchown", -1); return REAL(fchown)(fd, u, g); }
int flock(int fd, int op) { GUARD(Ours(fd), "flock", -1); return REAL(flock)(fd, op); }
int unlinkat(int d, const char *p, int f) { GUARD(Ours(d) || InDir(p), "unlinkat", -1); return REAL(unlinkat)(d, p, f); }
int renameat(int a, const char *p, int b, const char *q) {
    GUARD(Ours(a) || Ours(b) || InDir(p) || InDir(q), "rename", -1); return REAL(renameat)(a, p, b, q); }
int renameat2(int a, const char *p, int b, const char *q, unsigned f) {
    GUARD(Ours(a) || Ours(b) || InDir(p) || InDir(q), "rename", -1); return REAL(renameat2)(a, p, b, q, f); }
int linkat(int a, const char *p, int b, const char *q, int f) {
    GUARD(Ours(a) || Ours(b) || InDir(p) || InDir(q), "link", -1); return REAL(linkat)(a, p, b, q, f); }

} // extern "C"
