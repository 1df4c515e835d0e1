#include <ostream>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"
#include "harvestor/studypages/LocusListEditPage.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"
#include "workstation/console/ConsoleHost.h"
#include "workstation/store/StudyStore.h"

namespace workstation::console {
namespace {

void clearSelection(harvestor::ListBox& box) {
  for (std::int16_t i = 0; i < box.ListCount(); ++i) box.Selected(i, false);
}

bool selectNamed(harvestor::ListBox& box, const std::string& name) {
  for (std::int16_t i = 0; i < box.ListCount(); ++i) {
    if (harvestor::EqualsNoCase(box.List(i), name) && !box.Selected(i)) {
      box.Selected(i, true);
      return true;
    }
  }
  return false;
}

void showLists(const harvestor::LocusListEditPage& page, std::ostream& out) {
  auto line = [&](const harvestor::Frame& frame, const harvestor::ListBox& box) {
    std::string text = frame.Caption();
    if (text.back() != ':') text += ":";
    out << text;
    for (const auto& item : box.Items()) out << "\n  " << item;
    out << "\n";
  };
  line(page.frmLeft, page.lstPossible);
  line(page.frmRight, page.lstSelected);
  line(page.Frame1, page.lstOther);
}

int editLocusList(const Arguments& a, CommandContext& context) {
  if (a.positional().size() != 2) throw UsageError("'edit' takes the study database");
  requireStore(a.positional()[1]);
  if (a.has("yes") && a.has("no")) throw UsageError("give --yes or --no, not both");
  ConsoleHost host({context.out, context.err, context.in, context.interactive});
  host.openStudy(a.positional()[1], a.value("study"));
  harvestor::Service& service = host.service();
  if (a.has("yes")) host.ui().setAnswer(true);
  if (a.has("no")) host.ui().setAnswer(false);
  service.LaunchLocusListEdit();
  auto& page = dynamic_cast<harvestor::LocusListEditPage&>(
      *host.windows().lastPage("ShowLocusListEditPage"));
  context.out << "Locus list " << harvestor::LocusListFile::FullName() << " ("
              << page.lblFileDateTime.Caption() << ")\n";
  showLists(page, context.out);

  const auto& moves = a.ordered();
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const std::string& move = moves[i].first;
    if (move == "select" || move == "deselect") {
      // Consecutive names are one multiple selection and one press of the button.
      for (auto* box : {&page.lstPossible, &page.lstSelected, &page.lstOther}) clearSelection(*box);
      std::size_t j = i;
      for (; j < moves.size() && moves[j].first == move; ++j) {
        const std::string& name = moves[j].second;
        const bool found = move == "select" ? selectNamed(page.lstPossible, name) ||
                                                  selectNamed(page.lstOther, name)
                                            : selectNamed(page.lstSelected, name);
        if (!found) throw UsageError("no locus '" + name + "' to " + move);
      }
      (move == "select" ? page.btnToList : page.btnToTree).Click();
      i = j - 1;
    } else if (move == "up" || move == "down") {
      clearSelection(page.lstSelected);
      if (!selectNamed(page.lstSelected, moves[i].second)) {
        throw UsageError("no selected locus '" + moves[i].second + "' to move");
      }
      (move == "up" ? page.btnUpOrder : page.btnDownOrder).Click();
    } else if (move == "all") {
      page.btnAllToList.Click();
    } else if (move == "none") {
      page.btnAllToTree.Click();
    }
  }
  if (!moves.empty()) {
    context.out << "After the changes:\n";
    showLists(page, context.out);
  }
  page.IPageAccess_Page().RaiseSave();
  host.windows().lastWindow("ShowLocusListEditPage")->Close();
  return host.utility().reports() > 0 ? 1 : 0;
}

}  // namespace

Command locusListCommand() {
  Command c;
  c.name = "locus-list";
  c.summary = "show or set the loci that study exports include";
  c.usage =
      "usage: harvestor locus-list path\n"
      "       harvestor locus-list show\n"
      "       harvestor locus-list set NAME...\n"
      "       harvestor locus-list edit STUDY.db [--study NAME] [--select LOCUS]...\n"
      "                 [--deselect LOCUS]... [--up LOCUS] [--down LOCUS] [--all] [--none]\n"
      "                 [--yes|--no]\n\n"
      "The locus list is LocusList.txt in the export folder: one locus name a line,\n"
      "in the order the study exports write them. 'edit' shows the study's loci, the\n"
      "list and the other loci, applies the moves in the order given (consecutive\n"
      "--select or --deselect names move together), and saves the list; --yes or\n"
      "--no answers the question whether to overwrite the file (default Yes).\n";
  c.run = [](const std::vector<std::string>& args, CommandContext& context) {
    const Arguments a(args,
                      {{"study", true},
                       {"select", true},
                       {"deselect", true},
                       {"up", true},
                       {"down", true},
                       {"all"},
                       {"none"},
                       {"yes"},
                       {"no"}},
                      1, SIZE_MAX);
    const std::string& action = a.positional()[0];
    if (action == "edit") return editLocusList(a, context);
    if (!a.ordered().empty()) throw UsageError("'" + action + "' takes no options");
    const std::string file = harvestor::LocusListFile::FullName();
    if (action == "path") {
      if (a.positional().size() != 1) throw UsageError("'path' takes no names");
      context.out << file << "\n";
      return 0;
    }
    if (action == "show") {
      if (a.positional().size() != 1) throw UsageError("'show' takes no names");
      const auto content = harvestor::ReadWholeFile(file);
      if (!content) {
        context.err << "harvestor locus-list: no locus list at " << file << "\n";
        return 1;
      }
      for (const auto& entry : harvestor::LocusListFile::SplitLines(*content)) {
        context.out << entry << "\n";
      }
      return 0;
    }
    if (action == "set") {
      const std::vector<std::string> names(a.positional().begin() + 1, a.positional().end());
      if (!harvestor::WriteTextLines(file, names)) {
        context.err << "harvestor locus-list: cannot write " << file << "\n";
        return 1;
      }
      context.out << "Wrote " << names.size() << " loci to " << file << "\n";
      return 0;
    }
    throw UsageError("unknown action '" + action + "' (path, show or set)");
  };
  return c;
}

}  // namespace workstation::console
