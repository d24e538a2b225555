// Untrusted path strings through VLFileCtrl: creating, writing, opening, seeking and reading, with
// the path conversion in front of every open. What is written must read back from the file the
// path names, and the results must follow the rules of each operation.
//
// The fuzzer must never touch a file of its own machine: every path works inside a fresh folder
// made at start (removed at exit). A path that names a file outside it (absolute, or climbing
// above it with "..", in either slash) is refused here before the library sees it; and should the
// library still open something outside (its conversion making another path of it), the open is
// stopped before it happens and reported as a crash.
#include <vorla/VLFileCtrl.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The sandbox's root and the folder the fuzzer was started in, once the sandbox is made.
std::string sandboxRoot;
int homeFolder = -1;

void RemoveSandbox()
{
    if (sandboxRoot.empty() || fchdir(homeFolder) != 0)
        return;
    nftw(
        sandboxRoot.c_str(), [](const char *path, const struct stat *, int, struct FTW *) { return remove(path); },
        16, FTW_DEPTH | FTW_PHYS);
    sandboxRoot.clear();
}

// A failed check ends the process at once (libFuzzer keeps the input), without leaving the
// sandbox behind.
void Check(bool condition)
{
    if (!condition) {
        RemoveSandbox();
        __builtin_trap();
    }
}

// The folder tree: <root>/a.bmp, <root>/d/, <root>/d/e/f.txt (long enough for several blocks of
// VLFileCtrl's reads); paths are taken from <root>/d/e, so "../../a.bmp" is the picture.
const int kDepth = 2;

std::string ReadWhole(const std::string &path)
{
    std::string bytes;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, n);
    std::fclose(file);
    return bytes;
}

bool WriteWhole(const std::string &path, const std::string &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

struct Sandbox {
    std::string root;
    std::string work; // <root>/d/e
    std::vector<std::pair<std::string, std::string>> fixtures; // real path, contents
    int home = -1;                                             // the folder the fuzzer runs in
    int inside = -1;

    Sandbox()
    {
        const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/vorla-fuzz-paths-XXXXXX";
        Check(mkdtemp(&pattern[0]) != nullptr);
        root = pattern;
        work = root + "/d/e";
        Check(mkdir((root + "/d").c_str(), 0700) == 0 && mkdir(work.c_str(), 0700) == 0);
        std::string text;
        for (int i = 0; i < 70000; ++i)
            text.push_back(static_cast<char>('a' + (i * 7 + i / 26) % 26));
        fixtures = {{root + "/a.bmp", std::string("BM\x3a\0\0\0", 6) + "picture"}, {work + "/f.txt", text}};
        for (auto &fixture : fixtures)
            Check(WriteWhole(fixture.first, fixture.second));
        home = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        inside = open(work.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        Check(home >= 0 && inside >= 0);
        sandboxRoot = root;
        homeFolder = home;
        std::atexit(RemoveSandbox);
    }

    void Restore()
    {
        for (auto &fixture : fixtures)
            if (ReadWhole(fixture.first) != fixture.second)
                Check(WriteWhole(fixture.first, fixture.second));
    }

    bool IsFixture(const std::string &real) const
    {
        for (auto &fixture : fixtures)
            if (fixture.first == real)
                return true;
        return false;
    }
};

Sandbox &TheSandbox()
{
    static Sandbox *sandbox = new Sandbox();
    return *sandbox;
}

// Whether a relative system path, taken from a folder depth levels below the sandbox's root,
// stays inside the sandbox. Only the names count: the sandbox holds no links.
bool StaysInside(const std::string &path, int depth)
{
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string part = path.substr(start, slash - start);
        if (part == "..") {
            if (--depth < 0)
                return false;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        start = slash + 1;
    }
    return true;
}

// The file a path names, in the system's form (either slash separates folders): empty when it is
// absolute or climbs out of the sandbox.
std::string Confined(const std::string &path)
{
    std::string native(path);
    for (char &c : native)
        if (c == '\\')
            c = '/';
    if (native.empty() || native[0] == '/' || !StaysInside(native, kDepth))
        return {};
    return native;
}

// Set while the library works on a fuzzed path: every file opened then must lie in the sandbox.
bool guarding = false;

FILE *GuardedOpen(const char *name, const char *path, const char *mode)
{
    using Open = FILE *(*)(const char *, const char *);
    static const Open system = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "fopen"));
    if (guarding && path) {
        const std::string &root = TheSandbox().root;
        const bool inside = path[0] == '/' ? std::strncmp(path, (root + "/").c_str(), root.size() + 1) == 0 &&
                                                 StaysInside(path + root.size() + 1, 0)
                                           : StaysInside(path, kDepth);
        if (!inside) {
            std::fprintf(stderr, "file_path_fuzz: %s(\"%s\") reaches outside the sandbox; stopped\n", name, path);
            guarding = false;
            Check(false);
        }
    }
    return system ? system(path, mode) : nullptr;
}

// Little-endian fields taken from the input after the path; zero when it has run out.
struct Stream {
    const uint8_t *data;
    size_t size;
    uint32_t Take(int bytes)
    {
        uint32_t value = 0;
        for (int i = 0; i < bytes && size > 0; ++i, ++data, --size)
            value |= static_cast<uint32_t>(*data) << (8 * i);
        return value;
    }
    std::string Bytes(size_t count)
    {
        if (count > size)
            count = size;
        std::string bytes(reinterpret_cast<const char *>(data), count);
        data += count;
        size -= count;
        return bytes;
    }
};

// A read through the object must agree with the file's own bytes and move the offset by as much.
void CheckedRead(VLFileCtrl &file, const std::string &contents, int size)
{
    const int before = file.GetOffset();
    std::vector<char> buffer(static_cast<size_t>(size));
    const int got = file.Read(buffer.data(), size);
    Check(got >= -1 && got <= size);
    if (got <= 0 || before < 0)
        return;
    Check(static_cast<size_t>(before) + static_cast<size_t>(got) <= contents.size());
    Check(std::memcmp(buffer.data(), contents.data() + before, static_cast<size_t>(got)) == 0);
    Check(file.GetOffset() == before + got);
}

void ReadScript(VLFileCtrl &file, const std::string &contents, Stream &script)
{
    char none = 0;
    Check(file.Write(&none, 1) == -1); // opened for reading
    for (int step = 0; step < 8 && script.size > 0; ++step) {
        const uint32_t op = script.Take(1);
        switch (op % 4) {
        case 0: {
            const int offset = static_cast<int>(script.Take(4));
            const int origin = static_cast<int>(op / 4 % 5);
            const int moved = file.Seek(offset, origin);
            Check(moved == 0 || moved == 1);
            if (origin < 1 || origin > 3)
                Check(moved == 0);
            else if (moved && origin == 1)
                Check(file.GetOffset() == offset);
            break;
        }
        case 1:
            CheckedRead(file, contents, 1 + static_cast<int>(script.Take(3) % 70000));
            break;
        case 2:
            Check(file.Seek(0, 3) == 1 && file.GetOffset() == static_cast<int>(contents.size()));
            break;
        default:
            CheckedRead(file, contents, 1 + static_cast<int>(op / 4));
            break;
        }
    }
}

void Run(const std::string &path, const std::string &native, bool create, Stream script)
{
    Sandbox &sandbox = TheSandbox();
    VLFileCtrl file;
    if (!create) {
        if (!file.Open(path.c_str()))
            return;
        Check(file.IsOpen() == 1);
        Check(file.Open(path.c_str()) == 0 && file.Create(path.c_str()) == 0); // one file at a time
        struct stat info;
        const bool regular = stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode);
        if (regular)
            ReadScript(file, ReadWhole(native), script);
        Check(file.Close() == 1 && file.Close() == 0 && file.IsOpen() == 0);
        return;
    }

    if (!file.Create(path.c_str()))
        return;
    // Created means the file is there, where the path says: not anywhere else.
    char real[PATH_MAX];
    Check(realpath(native.c_str(), real) != nullptr);
    const std::string realPath(real);
    Check(realPath.compare(0, sandbox.root.size() + 1, sandbox.root + "/") == 0);

    std::string written;
    char none[1] = {0};
    Check(file.Read(none, 1) == -1); // created for writing
    while (script.size > 0) {
        const std::string block = script.Bytes(1 + script.Take(1) % 64);
        if (block.empty())
            break;
        Check(file.Write(block.data(), static_cast<int>(block.size())) == static_cast<int>(block.size()));
        written += block;
    }
    Check(file.GetOffset() == static_cast<int>(written.size()));
    Check(file.Close() == 1);
    Check(ReadWhole(native) == written);

    Check(file.Open(path.c_str()) == 1);
    std::vector<char> back(written.size() + 7);
    const int got = file.Read(back.data(), static_cast<int>(back.size()));
    // All of it, or at an empty file the end-of-file answer 0.
    Check(got == static_cast<int>(written.size()));
    Check(std::memcmp(back.data(), written.data(), written.size()) == 0);
    Check(file.Read(back.data(), 1) == -1);
    file.Close();

    if (sandbox.IsFixture(realPath))
        sandbox.Restore();
    else
        Check(unlink(realPath.c_str()) == 0);
}

// Crash and timeout files are written to the folder the fuzzer was started in, not into the
// sandbox it may be standing in when it fails (and which is removed at exit).
std::vector<std::string> arguments;
std::vector<char *> argumentPointers;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    char here[PATH_MAX];
    if (!getcwd(here, sizeof here))
        return 0;
    bool prefixed = false;
    for (int i = 0; i < *argc; ++i) {
        std::string argument((*argv)[i]);
        for (const char *flag : {"-artifact_prefix=", "-exact_artifact_path="}) {
            const size_t length = std::strlen(flag);
            if (argument.compare(0, length, flag) == 0) {
                prefixed = true;
                if (argument.size() > length && argument[length] != '/')
                    argument = flag + std::string(here) + "/" + argument.substr(length);
            }
        }
        arguments.push_back(argument);
    }
    if (!prefixed)
        arguments.push_back("-artifact_prefix=" + std::string(here) + "/");
    for (auto &argument : arguments)
        argumentPointers.push_back(&argument[0]);
    argumentPointers.push_back(nullptr);
    *argc = static_cast<int>(arguments.size());
    *argv = argumentPointers.data();
    TheSandbox();
    return 0;
}

// The first byte chooses create or open; the path runs to the first NUL; the rest is the script.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > 4096)
        return 0;
    const bool create = data[0] & 1;
    const uint8_t *pathStart = data + 1;
    const uint8_t *pathEnd = static_cast<const uint8_t *>(std::memchr(pathStart, 0, size - 1));
    if (!pathEnd)
        pathEnd = data + size;
    const std::string path(reinterpret_cast<const char *>(pathStart), static_cast<size_t>(pathEnd - pathStart));
    const std::string native = Confined(path);
    if (native.empty())
        return 0;
    Stream script{pathEnd, static_cast<size_t>(data + size - pathEnd)};
    if (script.size > 0)
        script.Take(1); // the NUL

    Sandbox &sandbox = TheSandbox();
    Check(fchdir(sandbox.inside) == 0);
    guarding = true;
    Run(path, native, create, script);
    guarding = false;
    Check(fchdir(sandbox.home) == 0);
    return 0;
}

// The library opens its files with fopen: these take the place of the C library's (and of the
// sanitizer's wrapper) for the whole process, so each open is checked before it happens. They
// must be visible to the library, whatever the build hides by default.
extern "C" __attribute__((visibility("default"))) FILE *fopen(const char *path, const char *mode)
{
    return GuardedOpen("fopen", path, mode);
}

extern "C" __attribute__((visibility("default"))) FILE *fopen64(const char *path, const char *mode)
{
    return GuardedOpen("fopen64", path, mode);
}
