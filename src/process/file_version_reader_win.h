#pragma once
// FileVersionReader: a file's version resource, read once with the wide functions so that
// paths and values in any language come through. A file without a resource (or an empty file
// name) reads as empty strings everywhere.

#include <string>
#include <vector>

namespace kelvane {

class FileVersionReader {
 public:
  // fileName in UTF-8.
  explicit FileVersionReader(const std::string& fileName);

  bool HasVersionInfo() const { return !data_.empty(); }
  // A string value of the first translation ("CompanyName", "FileDescription"), UTF-8; empty
  // when the resource or the value is missing.
  std::string StringValue(const std::string& key) const;
  std::string CompanyName() const { return StringValue("CompanyName"); }
  std::string FileDescription() const { return StringValue("FileDescription"); }
  // "1.2.3.4" from the fixed part; empty without a version resource.
  std::string FileVersion() const;

 private:
  std::vector<unsigned char> data_;
  std::vector<std::string> translations_;
};

}  // namespace kelvane
