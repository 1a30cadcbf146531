// vantrel-cli: the headless runner. Joins the command files named on the
// command line into one input pane, runs it as "Process" does, writes the
// report to standard output and the messages to standard error.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "command/reference.h"
#include "command/session.h"
#include "command/text_file.h"
#include "notation/numbers.h"
#include "map/map_sheet.h"
#include "map/plot_files.h"
#include "map/plot_map.h"
#include "map/plot_surface.h"

namespace {

using vantrel::Session;

constexpr const char* kUsage =
    "usage: vantrel-cli [options] [FILE ...]\n"
    "Runs the command lines of FILE (standard input when none is given, or for -)\n"
    "and writes the report to standard output, messages to standard error.\n"
    "\n"
    "options:\n"
    "  --folder DIR       the working folder: relative file names resolve against it\n"
    "                     (default: the current directory)\n"
    "  --reference FILE   read the command reference from FILE (default: Vantrel.txt\n"
    "                     in the working folder, else beside this program, else the\n"
    "                     installed ../share/vantrel/Vantrel.txt)\n"
    "  --project NAME     the project name (default file name with I/O Default)\n"
    "  --no-io-default    clear I/O Default\n"
    "  --spool NAME       set Spool, with NAME as the spool file name\n"
    "  --no-display       clear Display (report lines are not shown)\n"
    "  --no               answer every question No (default: Yes)\n"
    "  --ask              ask questions and file names on the terminal\n"
    "  --map FILE         save the plot window after the run as FILE (.svg, .png,\n"
    "                     or .dxf for CAD, in feet): the figures of the MAP lines,\n"
    "                     or every point as \"Show Points\" draws them when no MAP\n"
    "                     line ran\n"
    "  --printer FILE     save the printed pages of the run as one PDF (a map is\n"
    "                     printed when Spool is set)\n"
    "  --sheet FILE       save the map as a plat sheet (.pdf or .svg): the figure at\n"
    "                     a standard scale with a title block, north arrow and legend\n"
    "  --courses          label every line of a map with its bearing and distance and\n"
    "                     every arc with its curve number; a curve table on the sheet\n"
    "                     and, on layers V-COURSES and V-TABLE, in the DXF\n"
    "  --scale N          draw the sheet at 1\" = N ft (default: the largest standard\n"
    "                     scale that fits)\n"
    "  --paper SIZE       the sheet's paper: letter (default) or a4\n"
    "  --help             show this text\n";

struct Options {
  std::string folder;
  std::string reference;
  std::string project;
  bool ioDefault = true;
  bool spool = false;
  std::string spoolName;
  bool display = true;
  bool answerYes = true;
  bool ask = false;
  std::string mapFile;
  std::string printerFile;
  std::string sheetFile;
  bool courses = false;
  double feetPerInch = 0;  // 0: the largest standard scale that fits
  vantrel::Paper paper = vantrel::kLetterPaper;
  std::vector<std::string> files;
};

// The plot window is a fixed surface of 8800 x 6800 twips.
constexpr int kMapWidth = 8800;
constexpr int kMapHeight = 6800;

std::string LowerExtension(const std::string& name) {
  size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

// The first failed write of the report stops the run.
struct ReportNotWritten {
  int error;
};

void CheckReportStream() {
  if (std::ferror(stdout)) throw ReportNotWritten{errno};
}

// The user's side on standard streams.
class TerminalSide : public vantrel::UserSide {
 public:
  explicit TerminalSide(const Options& options) : options_(options) {
    if (options.ask) terminal_.open("/dev/tty");
  }

  void ShowReportLine(const std::string& line) override {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    CheckReportStream();
  }

  void InfoBox(const std::string& message) override { Message("Info Only: " + message + "\n"); }

  bool AskYesNo(const std::string& message) override {
    if (options_.ask) {
      std::string answer = Ask("Warning: " + message + " [y/n] ");
      return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
    }
    Message("Warning: " + message + (options_.answerYes ? " -> Yes\n" : " -> No\n"));
    return options_.answerYes;
  }

  std::string PromptText(const std::string& prompt) override {
    if (options_.ask) return Ask(prompt + ": ");
    Message("Prompt: " + prompt + "\n");
    return {};
  }

  vantrel::PlotSurface* PlotWindow() override {
    if (options_.mapFile.empty() && options_.sheetFile.empty()) return nullptr;
    windowShown_ = true;
    return &window_;
  }
  vantrel::PlotSurface* PrinterPage() override { return options_.printerFile.empty() ? nullptr : &printer_; }

  void EndPrintDocument() override {
    for (vantrel::PlotPicture& page : printer_.TakeDocument()) printed_.push_back(std::move(page));
  }

  bool WindowShown() const { return windowShown_; }
  const vantrel::PlotPicture& Window() const { return window_; }
  const std::vector<vantrel::PlotPicture>& PrintedPages() const { return printed_; }

 private:
  // Messages follow the report lines written before them.
  static void Message(const std::string& text) {
    std::fflush(stdout);
    CheckReportStream();
    std::fputs(text.c_str(), stderr);
  }

  std::string Ask(const std::string& question) {
    Message(question);
    std::string answer;
    // Without a terminal the answers come from standard input, unless the job
    // itself is read from there: its lines are never taken as answers.
    bool jobOnStandardInput = options_.files.empty() ||
                              std::find(options_.files.begin(), options_.files.end(), "-") != options_.files.end();
    if (!terminal_.is_open() && jobOnStandardInput) return answer;
    std::istream& in = terminal_.is_open() ? static_cast<std::istream&>(terminal_) : std::cin;
    std::getline(in, answer);
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    return answer;
  }

  const Options& options_;
  std::ifstream terminal_;
  vantrel::PlotPicture window_{kMapWidth, kMapHeight};
  bool windowShown_ = false;
  vantrel::PrinterPages printer_;
  std::vector<vantrel::PlotPicture> printed_;
};

std::string ExecutableFolder() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string full(path, static_cast<size_t>(n));
  size_t slash = full.rfind('/');
  return slash == std::string::npos ? "." : full.substr(0, slash == 0 ? 1 : slash);
}

// Returns false (with the reason on standard error) for a bad command line.
bool ParseOptions(int argc, char** argv, Options& options, bool& help) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string value;
    bool hasValue = false;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      value = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
      hasValue = true;
    }
    auto takeValue = [&](std::string& target) {
      if (hasValue) {
        target = value;
        return true;
      }
      if (i + 1 >= argc) {
        std::cerr << "vantrel-cli: " << arg << " needs a value\n";
        return false;
      }
      target = argv[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--folder") {
      if (!takeValue(options.folder)) return false;
    } else if (arg == "--reference") {
      if (!takeValue(options.reference)) return false;
    } else if (arg == "--project") {
      if (!takeValue(options.project)) return false;
    } else if (arg == "--spool") {
      if (!takeValue(options.spoolName)) return false;
      options.spool = true;
    } else if (arg == "--no-io-default") {
      options.ioDefault = false;
    } else if (arg == "--no-display") {
      options.display = false;
    } else if (arg == "--no") {
      options.answerYes = false;
    } else if (arg == "--ask") {
      options.ask = true;
    } else if (arg == "--map") {
      if (!takeValue(options.mapFile)) return false;
      std::string extension = LowerExtension(options.mapFile);
      if (extension != "svg" && extension != "png" && extension != "dxf") {
        std::cerr << "vantrel-cli: --map needs a file name ending in .svg, .png or .dxf\n";
        return false;
      }
    } else if (arg == "--printer") {
      if (!takeValue(options.printerFile)) return false;
    } else if (arg == "--sheet") {
      if (!takeValue(options.sheetFile)) return false;
      std::string extension = LowerExtension(options.sheetFile);
      if (extension != "pdf" && extension != "svg") {
        std::cerr << "vantrel-cli: --sheet needs a file name ending in .pdf or .svg\n";
        return false;
      }
    } else if (arg == "--courses") {
      options.courses = true;
    } else if (arg == "--scale") {
      std::string scale;
      if (!takeValue(scale)) return false;
      double feet = vantrel::IsNumericText(scale) ? vantrel::LeadingNumber(scale) : 0;
      if (!(feet > 0) || !std::isfinite(feet)) {
        std::cerr << "vantrel-cli: --scale needs the feet to the inch, a number above 0, not " << scale << "\n";
        return false;
      }
      options.feetPerInch = feet;
    } else if (arg == "--paper") {
      std::string paper;
      if (!takeValue(paper)) return false;
      for (char& c : paper) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (paper != "letter" && paper != "a4") {
        std::cerr << "vantrel-cli: --paper is letter or a4, not " << paper << "\n";
        return false;
      }
      options.paper = paper == "a4" ? vantrel::kA4Paper : vantrel::kLetterPaper;
    } else if (arg == "-" || arg.rfind("-", 0) != 0) {
      options.files.push_back(arg);
    } else {
      std::cerr << "vantrel-cli: unknown option " << arg << "\n" << kUsage;
      return false;
    }
  }
  return true;
}

// The input files, opened before the run so that a missing one stops it
// before any line has run.
struct InputFile {
  std::string name;
  std::FILE* file;
};

bool OpenInputs(const Options& options, std::vector<InputFile>& inputs) {
  std::vector<std::string> names = options.files;
  if (names.empty()) names.push_back("-");
  for (const std::string& name : names) {
    std::FILE* file = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
      std::cerr << "vantrel-cli: cannot read " << name << ": " << std::strerror(errno) << "\n";
      return false;
    }
    inputs.push_back({name, file});
  }
  return true;
}

// Runs the input files as one input pane, read as a stream: each piece is
// run as it arrives, so memory stays the same whatever the job's length. A
// file that does not end its last line is joined to the next by a line break.
bool RunInputs(const std::vector<InputFile>& inputs, Session& session) {
  vantrel::BatchRun run(session, 0);
  char last = '\n';  // nothing read yet: no break is needed before the first file
  static char buffer[1 << 16];
  for (const InputFile& input : inputs) {
    if (last != '\n' && last != '\r') {
      run.Feed("\r\n");
      last = '\n';
    }
    bool start = true;
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, input.file)) > 0; start = false) {
      // A job saved as UTF-16 or UTF-32 would run as lines of NULs: it is
      // refused, by its first bytes, before any of its lines runs.
      vantrel::TextEncoding found = vantrel::TextEncoding::Utf8;
      if (start) found = vantrel::DetectEncoding(std::string_view(buffer, std::min<size_t>(n, 4)));
      if (vantrel::IsWideEncoding(found)) {
        std::cerr << "vantrel-cli: cannot read " << input.name << ": this file is "
                  << vantrel::WideEncodingName(found) << "; save it as UTF-8\n";
        if (input.file != stdin) std::fclose(input.file);
        run.Abandon();
        return false;
      }
      run.Feed(std::string_view(buffer, n));
      last = buffer[n - 1];
    }
    bool failed = std::ferror(input.file) != 0;
    if (failed) std::cerr << "vantrel-cli: cannot read " << input.name << ": " << std::strerror(errno) << "\n";
    if (input.file != stdin) std::fclose(input.file);
    if (failed) {
      run.Abandon();  // the last line may be cut short
      return false;
    }
  }
  run.Finish();
  return true;
}

bool WriteFile(const std::string& name, const std::string& bytes) {
  std::optional<std::string> reason = vantrel::ReplaceFile(name, bytes);
  if (reason) std::cerr << "vantrel-cli: cannot write " << name << ": " << *reason << "\n";
  return !reason;
}

// Today as the sheet's title block gives it ("December 11, 2026"), in
// English whatever the locale.
std::string Today() {
  static constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                            "July",    "August",   "September", "October", "November", "December"};
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  return std::string(kMonths[local.tm_mon]) + " " + std::to_string(local.tm_mday) + ", " +
         std::to_string(local.tm_year + 1900);
}

// The plot window, the plat sheet and the printed pages, as the options ask.
bool SavePlots(const Options& options, Session& session, TerminalSide& side) {
  bool saved = true;
  if (!options.mapFile.empty()) {
    if (!side.WindowShown()) vantrel::ShowAllPoints(session);
    const vantrel::PlotPicture& window = side.Window();
    std::string extension = LowerExtension(options.mapFile);
    const vantrel::MapDrawing& drawing = session.plot.drawing;
    if (extension == "dxf" && drawing.Empty()) {
      std::cerr << "vantrel-cli: the map holds no point to draw; " << options.mapFile << " not written\n";
      saved = false;
    } else {
      saved = WriteFile(options.mapFile, extension == "png"   ? vantrel::PlotPng(window)
                                         : extension == "dxf" ? vantrel::PlotDxf(drawing, options.courses)
                                                              : vantrel::PlotSvg(window));
      if (saved && extension == "dxf") {
        std::vector<std::string> notes = drawing.notes;
        if (std::string note = vantrel::DxfReplacedNote(drawing); !note.empty()) notes.push_back(note);
        for (const std::string& note : notes) std::cerr << "vantrel-cli: " << note << "\n";
      }
    }
  }
  if (!options.sheetFile.empty()) {
    if (!side.WindowShown()) vantrel::ShowAllPoints(session);
    const vantrel::PlotState& plot = session.plot;
    vantrel::PlatOptions plat{{options.project.empty() ? "Vantrel map" : options.project, Today()},
                              plot.ShowPoints,
                              plot.ShowPointNumbers,
                              plot.ShowCenters,
                              options.courses,
                              options.feetPerInch};
    vantrel::PlotPicture sheet = vantrel::PlatSheet(plot.drawing, plat, options.paper);
    saved = WriteFile(options.sheetFile, LowerExtension(options.sheetFile) == "pdf" ? vantrel::PlotPdf({sheet})
                                                                                     : vantrel::PlotSvg(sheet)) &&
            saved;
  }
  if (!options.printerFile.empty()) {
    if (side.PrintedPages().empty())
      std::cerr << "vantrel-cli: nothing was printed (a map is printed with Spool set); " << options.printerFile
                << " not written\n";
    else
      saved = WriteFile(options.printerFile, vantrel::PlotPdf(side.PrintedPages())) && saved;
  }
  return saved;
}

int Run(int argc, char** argv) {
  Options options;
  bool help = false;
  if (!ParseOptions(argc, argv, options, help)) return 2;
  if (help) {
    std::cout << kUsage;
    return 0;
  }
  // A closed standard output would hand its number to the next file opened,
  // and the report would go into that file.
  if (fcntl(STDOUT_FILENO, F_GETFD) < 0) throw ReportNotWritten{errno};
  static char outputBuffer[1 << 16];
  std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

  TerminalSide side(options);
  Session session(side);
  std::error_code noCurrentFolder;
  session.files.ProgramFolder =
      options.folder.empty() ? std::filesystem::current_path(noCurrentFolder).string() : options.folder;
  session.files.ProjectName = options.project;
  session.files.IODefault = options.ioDefault;
  session.files.SpoolOn = options.spool;
  session.files.SpoolFileText = options.spoolName;
  session.Display = options.display;
  session.plot.ShowCourses = options.courses;

  std::string referencePath = options.reference.empty()
                                  ? vantrel::ChooseReferenceFile(session.files.ProgramFolder, ExecutableFolder())
                                  : options.reference;
  std::string reason;
  std::optional<std::string> referenceText = vantrel::ReadReferenceFile(referencePath, reason);
  if (!referenceText) {
    std::cerr << "vantrel-cli: cannot read the command reference " << referencePath << ": " << reason << "\n";
    return 2;
  }
  std::vector<InputFile> inputs;
  if (!OpenInputs(options, inputs)) return 2;

  std::string problem = vantrel::ReadCommandReference(*referenceText, session.reference);
  referenceText.reset();
  if (!problem.empty()) side.InfoBox(problem);

  bool read = RunInputs(inputs, session);
  std::fflush(stdout);
  CheckReportStream();
  bool saved = SavePlots(options, session, side);
  if (!read) return 2;
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const ReportNotWritten& failure) {
    std::fprintf(stderr, "vantrel-cli: cannot write the report: %s\n", vantrel::SystemErrorText(failure.error).c_str());
    return 1;
  } catch (const std::bad_alloc&) {
    std::fputs("vantrel-cli: out of memory: the run was stopped\n", stderr);
    return 3;
  }
}
