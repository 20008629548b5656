#pragma once
// The version resource of an executable file: its string values (description, company) and the
// four-part file version. Read once when constructed; an unreadable file reads as one without
// a resource.

#include <string>
#include <vector>

namespace kelvane {

class FileVersionReader {
 public:
  // An empty file name gives no version information.
  explicit FileVersionReader(const std::string& fileName);

  bool HasVersionInfo() const { return !data_.empty(); }
  // A string value ("FileDescription", "CompanyName") of the file's first translation, or of
  // US English / Western European ("040904E4") when it lists none; empty when missing.
  std::string StringValue(const std::string& key) const;
  // The fixed part's file version "major.minor.build.revision"; empty without a resource.
  std::string FileVersion() const;

 private:
  std::vector<unsigned char> data_;
  std::wstring translation_;
};

}  // namespace kelvane
