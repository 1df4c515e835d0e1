#include "tests/fakes/FakeLibraries.h"

#include "harvestor/service/TextFile.h"

namespace harvestor::testing {
namespace {

struct Exporter : IResultFileExporter {
  explicit Exporter(FakeLibraries& o) : owner(o) {}
  void SetOptionString(const std::string& o) override { owner.calls.push_back("Options " + o); }
  void SetFlags(std::int32_t f) override { owner.calls.push_back("Flags " + std::to_string(f)); }
  void SetFormat(std::int32_t f) override { owner.calls.push_back("Format " + std::to_string(f)); }
  void SetOutputFile(const std::string& f) override {
    owner.calls.push_back("Output " + f);
    file = f;
  }
  std::int32_t ExportSample(const std::shared_ptr<ISample>&) override {
    owner.calls.push_back("Export");
    if (owner.duringExport) owner.duringExport();
    const std::size_t at = static_cast<std::size_t>(owner.exports++);
    const std::int32_t status = at < owner.statuses.size() ? owner.statuses[at] : 1;
    if (status == 1) WriteTextLines(file, std::vector<std::string>{"exported"});
    return status;
  }
  FakeLibraries& owner;
  std::string file;
};

struct Writer : ICRVTraceWriter {
  explicit Writer(FakeLibraries& o) : owner(o) {}
  void SetOutputFile(const std::string& f) override { owner.calls.push_back("SetOutputFile " + f); }
  void AddResult(const std::shared_ptr<ISample>&, std::int32_t& status,
                 const std::string& name) override {
    owner.calls.push_back("AddResult " + name);
    status = 1;
  }
  void WriteFiles() override { owner.calls.push_back("WriteFiles"); }
  FakeLibraries& owner;
};

struct Locus : IObject {
  explicit Locus(std::string n) : name(std::move(n)) {}
  Variant GetProperty(std::string_view) const override { return Variant::FromText(name); }
  std::string name;
};

struct Loader : ILociLoader {
  explicit Loader(FakeLibraries& o) : owner(o) {}
  CollectionPtr<std::shared_ptr<IObject>> Query(const std::string& what, const std::string& a,
                                                const std::string& b, const std::string& property,
                                                std::int32_t c, bool d) override {
    owner.queries.push_back(what + "|" + a + "|" + b + "|" + property + "|" + std::to_string(c) +
                            "|" + (d ? "True" : "False"));
    auto loci = NewCollection<std::shared_ptr<IObject>>();
    for (const auto& name : owner.studyLoci) loci->Add(std::make_shared<Locus>(name));
    return loci;
  }
  FakeLibraries& owner;
};

}  // namespace

std::shared_ptr<ILociLoader> FakeLibraries::CreateLociLoader() {
  return std::make_shared<Loader>(*this);
}

std::shared_ptr<IResultFileExporter> FakeLibraries::CreateResultFileExporter() {
  return std::make_shared<Exporter>(*this);
}

std::shared_ptr<ICRVTraceWriter> FakeLibraries::CreateCRVTraceWriter() {
  return std::make_shared<Writer>(*this);
}

std::shared_ptr<ICommonDialog> FakeLibraries::CreateCommonDialog() {
  auto dialog = std::make_shared<FakeCommonDialog>();
  dialog->onShow = [this](FakeCommonDialog& d) {
    if (onDialogShow) onDialogShow(d);
  };
  dialogs.push_back(dialog);
  return dialog;
}

std::shared_ptr<ISelectionControl> FakeLibraries::CreateSelectionControl() {
  auto selection = std::make_shared<Selection>();
  selections.push_back(selection);
  return selection;
}

void FakeLibraries::Selection::InitSelection(const std::string& t, const ResultCollection& c) {
  type = t;
  collection = c;
}

void FakeLibraries::Selection::Select(const std::shared_ptr<IResult>& result) {
  collection->Add(result);
  if (SelectionChanged) SelectionChanged();
}

void FakeLibraries::Selection::Clear() {
  *collection = Collection<std::shared_ptr<IResult>>();
  if (SelectionChanged) SelectionChanged();
}

}  // namespace harvestor::testing
