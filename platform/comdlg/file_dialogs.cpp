// The open and save file dialogs. Headless, the test driver answers them; elsewhere zenity shows
// the system's file chooser when it is installed, and without it the dialog reports a cancel.
#include "backend/headless/headless.h"
#include "internal/kernel.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

thread_local DWORD t_dialog_error = 0;

// The filter is pairs of NUL-terminated strings ended by an empty one; at most 64 pairs are read
// so a filter that lacks its final NUL still ends.
std::vector<std::string> FilterEntries(LPCSTR filter) {
    std::vector<std::string> entries;
    if (!filter) return entries;
    const char *p = filter;
    while (*p && entries.size() < 128) {
        size_t n = std::strlen(p);
        entries.emplace_back(p, n);
        p += n + 1;
    }
    return entries;
}

std::string Native(std::string path) {
    for (char &c : path)
        if (c == '\\') c = '/';
    return path;
}

// Runs zenity's file chooser without a shell. Returns true with the path when one was chosen;
// false when the user cancelled or zenity is not there.
bool AskZenity(const vorla::platform::FileDialogRequest &request, std::string &path) {
    std::vector<std::string> arguments = {"zenity", "--file-selection"};
    if (request.save) arguments.push_back("--save");
    arguments.push_back("--title=" + (request.title.empty() ? std::string(request.save ? "Save As" : "Open")
                                                            : request.title));
    std::string start = request.initial_dir.empty() ? std::string() : Native(request.initial_dir) + "/";
    if (!request.initial_name.empty() && request.initial_name.find_first_of("*?") == std::string::npos)
        start += Native(request.initial_name);
    if (!start.empty()) arguments.push_back("--filename=" + start);
    for (size_t i = 0; i + 1 < request.filter.size(); i += 2) {
        std::string patterns = request.filter[i + 1];
        for (size_t p = 0; (p = patterns.find(';', p)) != std::string::npos;) patterns[p] = ' ';
        // "*.*" means every file on Windows, also those without a dot.
        for (size_t p = 0; (p = patterns.find("*.*", p)) != std::string::npos;) patterns.replace(p, 3, "*");
        arguments.push_back("--file-filter=" + request.filter[i] + " | " + patterns);
    }
    std::vector<char *> argv;
    for (std::string &argument : arguments) argv.push_back(&argument[0]);
    argv.push_back(nullptr);

    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    pid_t child;
    int error = posix_spawnp(&child, "zenity", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    if (error != 0) {
        close(pipe_ends[0]);
        return false;
    }
    std::string output;
    char chunk[1024];
    for (;;) {
        ssize_t n = read(pipe_ends[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (output.size() < 65536) output.append(chunk, static_cast<size_t>(n));
    }
    close(pipe_ends[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (output.empty() || output.find('\n') != std::string::npos) return false;
    path = output;
    return true;
}

BOOL ShowFileDialog(LPOPENFILENAMEA ofn, bool save) {
    t_dialog_error = 0;
    if (!ofn || (ofn->lStructSize != sizeof(OPENFILENAMEA) && ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A)) {
        t_dialog_error = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        t_dialog_error = CDERR_INITIALIZATION;
        return FALSE;
    }
    vorla::platform::FileDialogRequest request;
    request.save = save;
    request.owner = ofn->hwndOwner;
    request.filter = FilterEntries(ofn->lpstrFilter);
    if (ofn->lpstrTitle) request.title = ofn->lpstrTitle;
    if (ofn->lpstrInitialDir) request.initial_dir = ofn->lpstrInitialDir;
    // The file name buffer need not be terminated within its size.
    request.initial_name.assign(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
    request.flags = ofn->Flags;
    request.buffer_size = ofn->nMaxFile;

    std::string path;
    bool chosen = vorla::platform::CurrentHeadless() ? vorla::platform::ScriptedFileDialog(request, path)
                                                      : AskZenity(request, path);
    if (!chosen) return FALSE; // cancelled: no extended error
    if (path.empty() || path.size() > 0xFFFE) {
        t_dialog_error = FNERR_INVALIDFILENAME;
        return FALSE;
    }
    if (path.size() + 1 > ofn->nMaxFile) {
        // As on Windows: the first two bytes of the buffer say how many bytes were needed.
        if (ofn->nMaxFile >= 2) {
            const WORD needed = static_cast<WORD>(path.size() + 1);
            std::memcpy(ofn->lpstrFile, &needed, sizeof needed);
        }
        t_dialog_error = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    size_t name = path.find_last_of("\\/");
    name = name == std::string::npos ? 0 : name + 1;
    size_t dot = path.rfind('.');
    ofn->nFileOffset = static_cast<WORD>(name);
    ofn->nFileExtension = static_cast<WORD>(dot != std::string::npos && dot >= name ? dot + 1 : path.size());
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        size_t n = std::min(path.size() - name, static_cast<size_t>(ofn->nMaxFileTitle) - 1);
        std::memcpy(ofn->lpstrFileTitle, path.data() + name, n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    return TRUE;
}

} // namespace

extern "C" {

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) { return ShowFileDialog(ofn, false); }
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn) { return ShowFileDialog(ofn, true); }
DWORD WINAPI CommDlgExtendedError(void) { return t_dialog_error; }

} // extern "C"
