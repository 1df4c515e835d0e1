#include "harvestor/resultexport/FileName.h"

#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/Int16.h"

namespace harvestor {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The first n characters; a negative n is an invalid procedure call.
std::string Cut(const std::string& text, int n) {
  if (n < 0) RaiseError(ErrNo::InvalidProcedureCall);
  return text.substr(0, static_cast<std::size_t>(n));
}

}  // namespace

std::string FileName::WithoutTrailingSeparators(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

std::string FileName::GetDriveName(const std::string& path) {
  if (HasDriveLetter(path)) return path.substr(0, 2);
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    // \\server\share
    std::size_t end = path.find_first_of("/\\", 2);
    if (end != std::string::npos) end = path.find_first_of("/\\", end + 1);
    return path.substr(0, end);
  }
  return "";
}

std::string FileName::GetFileName(const std::string& path) {
  std::size_t end = path.size();
  const std::size_t root = HasDriveLetter(path) ? 2 : 0;
  while (end > root + 1 && IsSeparator(path[end - 1])) --end;  // "C:\Export\" names Export
  std::size_t begin = end;
  while (begin > root && !IsSeparator(path[begin - 1])) --begin;
  if (begin == end) return "";
  return path.substr(begin, end - begin);
}

std::string FileName::GetExtensionName(const std::string& path) {
  const std::string name = GetFileName(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : name.substr(dot + 1);
}

void FileName::Initialize(const std::string& strFullPathAndFileName) {
  Handled("FileName", "Initialize", [&] {
    if (strFullPathAndFileName.empty()) {
      *this = FileName();
      return;
    }
    const std::string full = strFullPathAndFileName;
    m_strFullPathAndFileName = full;
    m_strFileName = GetFileName(full);
    m_strDriveName = GetDriveName(full);
    m_strExtensionName = GetExtensionName(full);
    const int extLength = ToInt16(static_cast<std::int64_t>(m_strExtensionName.size()));
    const int fullLength = ToInt16(static_cast<std::int64_t>(full.size()));
    const int nameLength = ToInt16(static_cast<std::int64_t>(m_strFileName.size()));
    m_strPathName = Cut(full, fullLength - nameLength - 1);
    const bool hasExtension = m_strFileName.find('.') != std::string::npos;
    m_strFileNameSansExtension =
        hasExtension ? Cut(m_strFileName, nameLength - extLength - 1) : m_strFileName;
    m_strPathAndFileNameSansExtension = hasExtension ? Cut(full, fullLength - extLength - 1) : full;
  });
}

std::string FileName::FullPathAndFileName() const {
  return Handled("FileName", "FullPathAndFileName (Get)", [&] { return m_strFullPathAndFileName; });
}
std::string FileName::FileName_() const {
  return Handled("FileName", "FileName (Get)", [&] { return m_strFileName; });
}
std::string FileName::DriveName() const {
  return Handled("FileName", "DriveName (Get)", [&] { return m_strDriveName; });
}
std::string FileName::ExtensionName() const {
  return Handled("FileName", "ExtensionName (Get)", [&] { return m_strExtensionName; });
}
std::string FileName::PathName() const {
  return Handled("FileName", "PathName (Get)", [&] { return m_strPathName; });
}
std::string FileName::FileNameSansExtension() const {
  return Handled("FileName", "FileNameSansExtension (Get)",
                 [&] { return m_strFileNameSansExtension; });
}
std::string FileName::PathAndFileNameSansExtension() const {
  return Handled("FileName", "PathAndFileNameSansExtension (Get)",
                 [&] { return m_strPathAndFileNameSansExtension; });
}

}  // namespace harvestor
