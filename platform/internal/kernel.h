// Kernel and common-dialog state that the test driver may replace: the process table's root,
// which run-time modules exist, a fixed local time, and scripted file-dialog answers.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

namespace vorla::platform {

// Where the process table is read from; "/proc" unless a test supplies a stand-in tree.
std::string ProcessRoot();
void SetProcessRoot(const std::string &root);

// Built-in modules ("psapi.dll", "kernel32.dll") a test has taken away from LoadLibraryA.
void SetModuleAvailable(const std::string &name, bool available);

// GetLocalTime answers this while set (tests); null returns to the real clock.
void SetFixedLocalTime(const SYSTEMTIME *time);

// Global memory blocks the window system holds for itself (the clipboard's): the program may
// read them but cannot free them. Marking fails for a handle that is no block.
bool HoldGlobalForSystem(HGLOBAL block, bool held);
// Frees a block whatever holds it.
void FreeGlobalOfSystem(HGLOBAL block);
// The text of a block: its bytes up to the first terminator, or all of them without one.
bool GlobalBlockText(HGLOBAL block, std::string &text);

// Back to the real system: /proc, every module, the real clock.
void ResetKernelState();

// What a program asked of a file dialog.
struct FileDialogRequest {
    bool save = false;
    HWND owner = nullptr;
    std::vector<std::string> filter; // description, pattern, description, pattern, ...
    std::string title;
    std::string initial_dir;
    std::string initial_name; // the file name buffer's content on entry
    DWORD flags = 0;
    DWORD buffer_size = 0;
};

// The headless answer to a file dialog, given by the test driver: true with a path when one
// was chosen, false when the dialog is cancelled.
bool ScriptedFileDialog(const FileDialogRequest &request, std::string &path);
// Forgets the answers and the record of dialogs (test driver Reset).
void ResetScriptedDialogs();

} // namespace vorla::platform
