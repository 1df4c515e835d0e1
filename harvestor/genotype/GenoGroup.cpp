#include "harvestor/genotype/GenoGroup.h"

#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor {
namespace {
const char* const kClass = "GenoGroup";
}

GenoGroup::GenoGroup() {
  Handled(kClass, "Class_Initialize", [&] { m_colIndividuals = NewCollection<IndividualPtr>(); });
}

CollectionPtr<IndividualPtr> GenoGroup::Individuals() const { return m_colIndividuals; }
void GenoGroup::Individuals(CollectionPtr<IndividualPtr> colIndividuals) {
  m_colIndividuals = std::move(colIndividuals);
}
CollectionPtr<std::string> GenoGroup::LociList() const { return m_colLociList; }
std::shared_ptr<IProgressBar> GenoGroup::ProgressBar() const { return m_oProgressBar; }

std::string GenoGroup::GetExportFolder() { return ResultExportRoutines::FindExportPath(); }

IProgressBar& GenoGroup::Progress() const {
  if (!m_oProgressBar) RaiseError(ErrNo::ObjectNotSet);
  return *m_oProgressBar;
}

void GenoGroup::BuildGenoGroup(const IStudy& oStudy) {
  Handled(kClass, "BuildGenoGroup", [&] {
    m_oProgressBar = HostObjects::Application().ProgressBar();
    const std::shared_ptr<IStudyResults> results = oStudy.Results();
    const std::int32_t count = results->Count();
    Progress().Start(static_cast<double>(count), 0);
    IHostUtility& utility = HostObjects::HostUtility();

    for (std::int32_t i = 0; i < count; ++i) {
      Progress().Advance();
      const std::shared_ptr<IStudyResult> studyResult = results->Item(i);
      const std::shared_ptr<IResult> result = studyResult->Result();
      const std::shared_ptr<ISample> sample = result->Sample();
      const std::string subjectID = sample->SubjectID();
      const std::string resultName = TrimTrailingBlanks(result->ResultName());

      if (subjectID.empty()) {
        ErrorLog::LogExportMsg("Missing Subject ID for result: " + resultName);
        ErrorLog::LogExportMsg("\tResult data not included in exported file.");
        continue;
      }

      auto reading = std::make_shared<Individual>();
      reading->Intialize(*sample->SubjectRecord()->Properties(), subjectID);
      if (studyResult->Excluded()) {
        ErrorLog::LogExportMsg("Excluded result: " + resultName + " for Subject: " + subjectID);
        continue;
      }
      ErrorLog::LogExportMsg("Processing result: " + resultName + " for Subject: " + subjectID);

      IndividualPtr current = reading;
      if (utility.CollectionHasKey(*m_colIndividuals, subjectID)) {
        current = m_colIndividuals->Item(subjectID);
        m_colIndividuals->Remove(subjectID);
        if (!current->IsSamePedigree(*reading)) current->FixPedigreeIfFixable(*reading);
      }
      current->AddGenoLoci(*studyResult);
      m_colIndividuals->Add(current, subjectID);
    }

    auto sorted = std::dynamic_pointer_cast<Collection<IndividualPtr>>(
        utility.SortCollection(*m_colIndividuals, 1, 0, "IndividualID", false));
    if (!sorted) RaiseError(ErrNo::TypeMismatch);
    m_colIndividuals = sorted;
  });
}

}  // namespace harvestor
