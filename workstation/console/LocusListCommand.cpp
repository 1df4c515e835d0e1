#include <memory>
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

struct EditOptions {
  std::vector<std::string> positional;
  std::string study;
  bool yes = false, no = false;
  std::vector<std::pair<std::string, std::string>> moves;  // in command-line order
};

int editLocusList(const EditOptions& a, CommandContext& context) {
  if (a.positional.size() != 2) throw UsageError("'edit' takes the study database");
  requireStore(a.positional[1]);
  if (a.yes && a.no) throw UsageError("give --yes or --no, not both");
  ConsoleHost host({context.out, context.err, context.in, context.interactive});
  host.openStudy(a.positional[1], a.study);
  harvestor::Service& service = host.service();
  if (a.yes) host.ui().setAnswer(true);
  if (a.no) host.ui().setAnswer(false);
  service.LaunchLocusListEdit();
  auto& page = dynamic_cast<harvestor::LocusListEditPage&>(
      *host.windows().lastPage("ShowLocusListEditPage"));
  context.out << "Locus list " << harvestor::LocusListFile::FullName() << " ("
              << page.lblFileDateTime.Caption() << ")\n";
  showLists(page, context.out);

  const auto& moves = a.moves;
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
      "       harvestor locus-list edit STUDY.db [-s|--study NAME] [--select LOCUS]...\n"
      "                 [--deselect LOCUS]... [--up LOCUS] [--down LOCUS] [--all] [--none]\n"
      "                 [-y|--yes|--no]\n\n"
      "The locus list is LocusList.txt in the export folder: one locus name a line,\n"
      "in the order the study exports write them. 'edit' shows the study's loci, the\n"
      "list and the other loci, applies the moves in the order given (consecutive\n"
      "--select or --deselect names move together), and saves the list; --yes or\n"
      "--no answers the question whether to overwrite the file (default Yes).\n";
  c.define = [](CLI::App& app) {
    struct Options {
      EditOptions edit;
      std::vector<std::string> select, deselect, up, down;
      bool all = false, none = false;
    };
    auto o = std::make_shared<Options>();
    app.add_option("ACTION", o->edit.positional, "path, show, set NAME... or edit STUDY.db")
        ->required();
    addValue(app, "-s,--study", o->edit.study, "the study (edit)", "NAME");
    addValues(app, "--select", o->select, "add a locus to the list (edit)", "LOCUS");
    addValues(app, "--deselect", o->deselect, "take a locus off the list (edit)", "LOCUS");
    addValues(app, "--up", o->up, "move a locus of the list up (edit)", "LOCUS");
    addValues(app, "--down", o->down, "move a locus of the list down (edit)", "LOCUS");
    addSwitch(app, "--all", o->all, "put every locus on the list (edit)");
    addSwitch(app, "--none", o->none, "take every locus off the list (edit)");
    addSwitch(app, "-y,--yes", o->edit.yes, "overwrite the locus list file (edit; the default)");
    addSwitch(app, "--no", o->edit.no, "do not overwrite the locus list file (edit)");
    const CLI::App* parsed = &app;
    return [o, parsed](CommandContext& context) {
      o->edit.moves = optionsInOrder(*parsed);
      const std::vector<std::string>& positional = o->edit.positional;
      const std::string& action = positional[0];
      if (action == "edit") return editLocusList(o->edit, context);
      if (!o->edit.moves.empty()) throw UsageError("'" + action + "' takes no options");
      const std::string file = harvestor::LocusListFile::FullName();
      if (action == "path") {
        if (positional.size() != 1) throw UsageError("'path' takes no names");
        context.out << file << "\n";
        return 0;
      }
      if (action == "show") {
        if (positional.size() != 1) throw UsageError("'show' takes no names");
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
        const std::vector<std::string> names(positional.begin() + 1, positional.end());
        if (!harvestor::WriteTextLines(file, names)) {
          context.err << "harvestor locus-list: cannot write " << file << "\n";
          return 1;
        }
        context.out << "Wrote " << names.size() << " loci to " << file << "\n";
        return 0;
      }
      throw UsageError("unknown action '" + action + "' (path, show, set or edit)");
    };
  };
  return c;
}

}  // namespace workstation::console
