// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class ApplyQuestion;
class AssignmentAsker;
class Clipboard;
class FolderAsker;
class OpenFileAsker;
class Prompter;
class SaveFileAsker;
class SaveQuestion;
class StudentNameAsker;

// Where the curve window and its commands meet the user and the desktop: its messages, its
// questions, the file dialogs and the clipboard. The window makes the real ones (message boxes
// and dialogs over itself, the system's clipboard); a test puts others in their place.
struct WindowSeams {
    Prompter* messages = nullptr;
    Clipboard* clipboard = nullptr;
    SaveFileAsker* saveFile = nullptr;
    OpenFileAsker* openFile = nullptr;
    FolderAsker* folder = nullptr;
    SaveQuestion* saveQuestion = nullptr;
    ApplyQuestion* applyQuestion = nullptr;
    AssignmentAsker* assignment = nullptr;
    StudentNameAsker* studentName = nullptr;

    // These seams, each replaced by the one replacement gives, when it gives one.
    WindowSeams replacedBy(const WindowSeams& replacement) const {
        const auto either = [](auto* given, auto* own) { return given ? given : own; };
        return {either(replacement.messages, messages),
                either(replacement.clipboard, clipboard),
                either(replacement.saveFile, saveFile),
                either(replacement.openFile, openFile),
                either(replacement.folder, folder),
                either(replacement.saveQuestion, saveQuestion),
                either(replacement.applyQuestion, applyQuestion),
                either(replacement.assignment, assignment),
                either(replacement.studentName, studentName)};
    }
};
