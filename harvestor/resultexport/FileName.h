#pragma once
// The parts of a full path and file name, split once by Initialize. Both "/"
// and "\" separate folders and a leading drive letter ("C:") is a drive, so
// C:\Export\Run1.txt and /data/Export/Run1.txt split alike. The derived parts
// are cut by count: a text without a folder part (Run1.txt) raises error 5.
// A name without an extension is kept whole in the two "SansExtension" parts.

#include <string>

namespace harvestor {

class FileName {
 public:
  void Initialize(const std::string& strFullPathAndFileName);

  std::string FullPathAndFileName() const;
  // The property "FileName"; C++ keeps the class's own name for its constructor.
  std::string FileName_() const;
  std::string DriveName() const;
  std::string ExtensionName() const;
  std::string PathName() const;
  std::string FileNameSansExtension() const;
  std::string PathAndFileNameSansExtension() const;

  // The file system's splitting rules, shared by everything that names files.
  static std::string GetFileName(const std::string& path);
  static std::string GetDriveName(const std::string& path);
  static std::string GetExtensionName(const std::string& path);
  // A folder without the "/" or "\\" it may end in ("/" alone stays).
  static std::string WithoutTrailingSeparators(std::string folder);

 private:
  std::string m_strFullPathAndFileName;
  std::string m_strFileName;
  std::string m_strDriveName;
  std::string m_strExtensionName;
  std::string m_strPathName;
  std::string m_strFileNameSansExtension;
  std::string m_strPathAndFileNameSansExtension;
};

}  // namespace harvestor
