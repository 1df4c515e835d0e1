#include <memory>
#include <ostream>

#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"
#include "workstation/store/StoreAddress.h"
#include "workstation/store/StudyStore.h"

namespace workstation::console {

Command initStoreCommand() {
  Command c;
  c.name = "init-store";
  c.summary = "create the study store's tables on a PostgreSQL server (or in a file)";
  c.usage =
      "usage: harvestor init-store STORE\n\n"
      "Creates the study store's schema where STORE names it: a postgresql:// URI,\n"
      "postgres: followed by a libpq keyword string, or a study database file. A store\n"
      "that exists already is checked and left as it is, but a study database file of\n"
      "version 1 is upgraded to this version in one transaction. The first import\n"
      "creates the schema too (and upgrades a version 1 file); this command lets an\n"
      "administrator create it before granting roles, or upgrade a file before export.\n"
      "Passwords come from PGPASSWORD, ~/.pgpass or a service file, never from STORE.\n";
  c.define = [](CLI::App& app) {
    auto store = std::make_shared<std::string>();
    app.add_option("STORE", *store, "the study store")->required();
    return [store](CommandContext& context) {
      const bool created = initStudyStore(*store);
      context.out << (created ? "Created the study store in " : "The study store in ")
                  << parseStoreAddress(*store).display << (created ? ".\n" : " is ready.\n");
      return 0;
    };
  };
  return c;
}

}  // namespace workstation::console
