// SystemLib: the locale information methods; system information, folders, names, drive
// types, colours, the running-program test, recent documents, launching and the report.
#pragma once

#include "api/SystemLib.h"

namespace zv::impl {

class SystemLib final : public zv::SystemLib {
 public:
  String GetALocaleInfo(int32_t theLCID, int32_t& theLCType) override;
  String GetLocaleIdLanguage(int32_t theLCID = 0) override;
  String GetLocaleLanguage(int32_t theLCID = 0) override;
  String GetLocaleDecimal(int32_t theLCID = 0) override;
  String GetLocaleCountry(int32_t theLCID = 0) override;
  String GetLocaleThousand(int32_t theLCID = 0) override;
  String GetLocaleCurrency(int32_t theLCID = 0) override;
  String GetLocaleTimeFormat(int32_t theLCID = 0) override;
  String GetLocaleShortDate(int32_t theLCID = 0) override;
  String GetLocaleSeparatorDate(int32_t theLCID = 0) override;
  String GetLocaleSeparatorTime(int32_t theLCID = 0) override;
  String GetLocaleLongDate(int32_t theLCID = 0) override;
  String GetLocaleAbbrevCountryName(int32_t theLCID = 0) override;
  String GetTheLocaleInfo(int32_t theLCID = 0) override;

  // system_info.cpp
  String get_WindowsSystem() override { return windowsSystem_; }
  void let_WindowsSystem(const String& newValue) override { windowsSystem_ = newValue; }
  String get_WindowsVersion() override { return windowsVersion_; }
  void let_WindowsVersion(const String& newValue) override { windowsVersion_ = newValue; }
  void GetWindowsVersion() override;
  void GetWindowsInformation(WindowsRegistryInfo& InfoSysteme) override;
  String GetWindowsDir() override;
  String GetSystemDir() override;
  String GetUserName() override;
  String GetComputerName() override;
  String GetMyDocumentsDir() override;
  int32_t GetTheDriveType(const String& lecteur) override;
  String HexColorToRGB(const String& HexColor) override;
  int32_t InvHex(const String& ValHex) override;

  // programs.cpp
  void ChangeDir(const String& theDirectory) override;
  bool isProgramRunning(const String& strProgram, bool activateProgram) override;
  void AddRecentFile(const String& theFilePath) override;
  bool ExecApplication(const String& theApp, int16_t winState = 0) override;
  bool ExecApplicationDOS(const String& theAppDOS) override;

  // host_report.cpp
  void HostConfig(const String& theFile) override;

 private:
  String item(int32_t theLCID, int32_t type);

  String windowsSystem_;
  String windowsVersion_;
};

}  // namespace zv::impl
