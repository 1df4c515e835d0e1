#pragma once
// The component's entry object. A host creates it, attaches it through its
// service base and calls its four commands. It keeps the host commands
// "ExportStudy" and "LOH" enabled exactly while a study is open.

#include <memory>
#include <string>

#include "harvestor/service/HostFramework.h"
#include "harvestor/service/ServiceBase.h"

namespace harvestor {

class Service final : public IServiceAccess, public IWindowExitHandler, public IStudyServiceEvents {
 public:
  Service();  // Class_Initialize
  ~Service() override;
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  void ExportResult();
  void ExportStudy();
  void LaunchLOH();
  void LaunchLocusListEdit();

  std::shared_ptr<ServiceBase> IServiceAccess_Service() override;
  void IWindowExitHandler_OnExit(const std::shared_ptr<IWindow>& oWindow, bool bWasCancelled);

  // The dialog filters of the study export, in FilterIndex order.
  static const char* const kStudyFilters[4];

 private:
  void OnExit(const std::shared_ptr<IWindow>& window, bool wasCancelled) override {
    IWindowExitHandler_OnExit(window, wasCancelled);
  }
  void StudyOpened(const std::shared_ptr<IStudy>& study) override {
    m_oStudyService_StudyOpened(study);
  }
  void StudyClosed(const std::shared_ptr<IStudy>& study) override {
    m_oStudyService_StudyClosed(study);
  }

  void m_oServiceBase_Initialize();
  void m_oStudyService_StudyOpened(const std::shared_ptr<IStudy>& oStudy);
  void m_oStudyService_StudyClosed(const std::shared_ptr<IStudy>& oStudy);
  void SetCommandsEnabled(bool enabled);
  void InitializeDialog(const std::string& name);
  std::string ShowSaveDialog();

  std::shared_ptr<ServiceBase> m_oServiceBase;
  IStudyService* m_oStudyService = nullptr;
};

}  // namespace harvestor
