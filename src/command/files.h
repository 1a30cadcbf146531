// File-name settings of the main window, the spool file that copies the
// report, and the command files of the Import and Export buttons.
#pragma once

#include <string>
#include <string_view>

#include "command/code_page.h"
#include "command/text_file.h"
#include "command/user_side.h"

namespace vantrel {

class Session;

struct FileSettings {
  std::string ProgramFolder = ".";  // relative file names resolve against it
  std::string ProjectName;          // default file name with I/O Default
  bool IODefault = true;
  bool SpoolOn = false;
  std::string SpoolFileText;        // the spool file name as typed
  // How the last imported command file was written; Export writes the
  // pane back the same way.
  TextEncoding CommandFileEncoding = TextEncoding::Utf8;
};

struct SpoolState {
  std::string SpoolFileName;  // full path, empty until first resolved
  bool SpoolOpen = false;
  // Set when no usable name resulted or the file could not be opened: the
  // failure has been reported once, and spooling waits for a new name.
  bool SpoolFailed = false;
  AppendFile file;  // closed with the session
};

// The file name for a file command or button: the given name, or the
// project name (with I/O Default), or the name the user types when asked
// "Enter File Name for <kind>"; completed with the program's folder when it
// is relative and with the default extension when it has no dot. Empty when
// the user gave no name.
// `use` tells the user's side whether the file is read or written, for a
// file browser that offers it.
std::string PromptFileName(Session& session, std::string_view given, std::string_view extension, FileUse use);

// The spool target behind WriteOutput: copies one report line into the
// spool file while spooling is on.
void SpoolLine(Session& session, const std::string& line);

// The spool file name box was left: a non-empty name that resolves to
// another file closes the current one; the next spooled line starts the new
// file. Any non-empty name lets a failed spool file be tried again.
void ChangeSpoolName(Session& session);

// Export: saves the input pane's text as a command file, one line per pane
// line, and tells the user where it went. An existing file is replaced
// only when the user agrees. Returns the file's name, empty when nothing
// was saved.
std::string ExportCommandFile(Session& session, std::string_view paneText);

// Import: appends the lines of a command file to the input pane's text,
// each followed by CR LF, starting on a line of their own. The file is
// `given` (completed by the file-name rule) or the one the rule asks for,
// read as ReadTextFile reads text; its encoding is kept for Export.
// Returns the file's name; the pane is unchanged and the name empty when
// the file cannot be read.
std::string ImportCommandFile(Session& session, std::string& paneText, std::string_view given = {});

}  // namespace vantrel
