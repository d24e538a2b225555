// The test driver's part of the kernel and the common dialogs: answers for file dialogs, the
// dialogs that were asked for, a stand-in process table, missing modules and a fixed local time.
#include "platform/testing/driver.h"

#include "internal/kernel.h"

#include <deque>
#include <mutex>

namespace {

struct Answer {
    bool chosen;
    std::string path;
};

std::mutex g_lock;
std::deque<Answer> g_answers;
std::vector<vorla::testing::FileDialogRecord> g_dialogs;

} // namespace

namespace vorla::platform {

bool ScriptedFileDialog(const FileDialogRequest &request, std::string &path) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_dialogs.push_back(testing::FileDialogRecord{request.save, request.owner, request.filter, request.title,
                                                  request.initial_dir, request.initial_name, request.flags,
                                                  request.buffer_size});
    // Nobody sits at a headless screen: without a scripted answer the dialog is cancelled.
    if (g_answers.empty()) return false;
    Answer answer = g_answers.front();
    g_answers.pop_front();
    path = answer.path;
    return answer.chosen;
}

void ResetScriptedDialogs() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_answers.clear();
    g_dialogs.clear();
}

} // namespace vorla::platform

namespace vorla::testing {

void AnswerFileDialog(const std::string &path) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_answers.push_back(Answer{true, path});
}

void CancelFileDialog() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_answers.push_back(Answer{false, std::string()});
}

std::vector<FileDialogRecord> FileDialogs() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_dialogs;
}

void SetProcessRoot(const std::string &directory) { vorla::platform::SetProcessRoot(directory); }
void SetModuleAvailable(const char *name, bool available) {
    if (name) vorla::platform::SetModuleAvailable(name, available);
}
void SetLocalTime(const SYSTEMTIME &time) { vorla::platform::SetFixedLocalTime(&time); }

} // namespace vorla::testing
