#include "wizard/language_table.h"

#include "support/text.h"

namespace korvane {
namespace {

constexpr int kFirstDiscarded = 91;
constexpr int kLastDiscarded = 111;

bool Discarded(int entry) { return entry >= kFirstDiscarded && entry <= kLastDiscarded; }

const char* const kDefaults[LanguageTable::kEntryCount + 1] = {
    "",
    "Please install the common controls update from Microsoft before attempting to install this product.",
    "Setup resource not found",
    "Setup resource decompression failure",
    "Setup database not found",
    "Runtime error in install: ",
    "bytes",
    "KB",
    "MB",
    "Attempting to get value of undefined variable ",
    "Attempting to set value of undefined variable ",
    "Copying: ",
    "Unable to copy installation data to local folders",
    "Downloading Web Media: ",
    "Unable to download installation data from the web",
    "Extracting Web Media: ",
    "Unable to extract installation data downloaded from the web",
    "Please locate your original setup sources to continue operation",
    "Original setup sources required to complete operation, sources not found",
    "General setup failure",
    "Runtime error in setup script:",
    "% complete",
    "bytes received",
    "Korvane Wizard",
    "Korvane is preparing the Korvane Wizard which will install this application. Please wait.",
    "Retry Download?",
    "Downloading of installation data from the web has failed. Would you like to try again?",
    " Proxy Information (optional) ",
    "Proxy &Server:",
    "Proxy &Port:",
    "If you choose No, setup will exit. However, you will be able to resume your download from where it left off "
    "when you re-run setup.",
    "&Yes",
    "&No",
    "Retry Extraction?",
    "Extraction of installation data downloaded from the web has failed. What would you like to do?",
    "&Download a fresh copy of the installation data.",
    "Try to &extract the existing download data again.",
    "If you choose Cancel, setup will exit. Your existing download data will be preserved.",
    "&OK",
    "&Cancel",
    "Are you sure you want to cancel?",
    "Proxy &User:",
    "Proxy Pass&word:",
    "Fatal Error",
    "Error",
    "Warning",
    "Message",
    "Files in Use",
    "Out of Disk Space",
    "Downloading of installation data from the web has failed. Please make sure you are connected to the Internet.",
    "Would you like to:",
    "Try to &resume the broken download?",
    "Download a &new copy of the data instead?",
    "If you choose Cancel, setup will exit. However, you will be able to resume your download from where it left off "
    "when you re-run setup.",
    "",
    // 55 to 87: download status texts
    "Locating resource",
    "Connecting to",
    "Redirecting to",
    "Beginning data transfer",
    "Transferring data",
    "Finishing data transfer",
    "Beginning component download",
    "Installing components",
    "Finishing component download",
    "Resuming broken download",
    "Requesting data",
    "CLASSID available",
    "Download data recognized",
    "Saving download information",
    "Beginning synchronous operation",
    "Finishing synchronous operation",
    "Beginning data upload",
    "Uploading data",
    "Finishing data upload",
    "Protocol CLASSID",
    "Encoding",
    "Download data recognized and verified",
    "Class install location",
    "Decoding",
    "Loading data handler",
    "Content disposition attach",
    "Download data filtered",
    "CLSID can instantiate",
    "COM services unavailable",
    "Direct bind",
    "Unrecognized download data",
    "Detecting proxy information",
    "Accept ranges",
    "A previously executed setup still has pending operations on the system. Please restart your computer before "
    "attempting to install this product.",
    "Select Setup Language",
    "Please select the language to use during the installation:",
    // 91 to 111: no storage
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "Unable to play Flash movie",
    "Will be &installed on local hard drive",
    "&Entire feature will be installed on local hard drive",
    "Entire feature will be &unavailable",
};

class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}
  [[nodiscard]] bool AtEnd() const { return pos_ >= text_.size(); }
  // The next line, or the empty text past the end.
  std::string_view Next() {
    if (AtEnd()) return {};
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

LanguageTable::LanguageTable() {
  for (int i = 1; i <= kEntryCount; ++i) entries_[i] = kDefaults[i];
}

const std::string& LanguageTable::Message(int entry) const {
  static const std::string empty;
  return (entry >= 1 && entry <= kEntryCount) ? entries_[entry] : empty;
}

void LanguageTable::ReadLanguageFile(std::string_view text, std::string_view userLanguage) {
  TextLines lines(text);
  auto readBlock = [&] {
    for (int entry = 1; entry <= kEntryCount; ++entry) {
      std::string_view line = lines.Next();
      if (!Discarded(entry)) entries_[entry] = std::string(line);
    }
  };
  readBlock();
  while (!lines.AtEnd()) {
    const std::string blockName(lines.Next());
    readBlock();
    if (SameText(blockName, userLanguage)) break;
  }
}

}  // namespace korvane
