// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of busdb: words to operations, operations' failures to messages and exit codes.
#include "BusDb.h"
#include "DbFile.h"
#include "Error.h"
#include "Gtfs.h"
#include "Route.h"

#include "text/Exception.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <vector>

namespace velmora::busdb {

namespace {

const char *const kUsage =
    "Usage: busdb COMMAND ARGUMENTS\n"
    "Builds and inspects Velmora's encrypted bus database (tolvi.dbf).\n"
    "\n"
    "  busdb create FILE\n"
    "      Make an empty database with the schema under the program's key. FILE must not exist.\n"
    "  busdb import FILE DIR\n"
    "      Add the rows of sheng.csv, city.csv, bus.csv and uconf.csv, and of the transfer planner's\n"
    "      busmeta.csv and place.csv (UTF-8, header row, each optional) in DIR to FILE, in one transaction:\n"
    "      on any error FILE is left as it was.\n"
    "  busdb demo FILE [--from DIR]\n"
    "      Build the demo database from the CSV files installed with busdb, in ../share/velmora/demo from\n"
    "      the folder of the program (/usr/share/velmora/demo for /usr/bin/busdb), or from those in DIR;\n"
    "      replaces FILE.\n"
    "  busdb query FILE SQL\n"
    "      Run one statement and print the rows as tab-separated UTF-8 under a header of column names.\n"
    "  busdb generate FILE --cities N --lines M\n"
    "      Write a synthetic database of N cities with M lines each, for benchmarks; replaces FILE.\n"
    "  busdb import-gtfs FILE FEED --province NAME --city NAME [--city-id ID] [--replace]\n"
    "      Replace the lines of a city with one line per route of a GTFS feed (a folder or a .zip), adding\n"
    "      the province and city when missing, in one transaction. --replace writes a character GBK cannot\n"
    "      hold as its base letters (\"s\" for \"š\"), \"·\" for \"・\", or else \"？\", instead of stopping.\n"
    "  busdb route FILE --city NAME|ID FROM TO [--max-changes N] [--at HH:MM]\n"
    "      Print the transfer plans from station FROM to station TO (a name, or part of names), one per line:\n"
    "      lines, stations, remark. N is 0, 1 or 2 (the default). With --at, plans whose lines are out of\n"
    "      service at that time (after the service times in sj) are marked and listed last.\n"
    "      Exit status 1 when there is no plan.\n"
    "  busdb help\n"
    "      Show this text.\n"
    "\n"
    "Exit status: 0 on success, 1 when the operation failed, 2 on a wrong command line.\n";

struct UsageError {
    std::string message;
};

// Splits "--name value" options off the positional arguments.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::vector<std::string> flags;

    Arguments(int argc, const char *const *argv, int first, const std::vector<std::string> &valued,
              const std::vector<std::string> &switches) {
        for (int i = first; i < argc; ++i) {
            std::string a = argv[i];
            if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
                if (std::find(switches.begin(), switches.end(), a) != switches.end()) {
                    flags.push_back(a);
                } else if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
                    if (i + 1 >= argc)
                        throw UsageError{a + " needs a value"};
                    options[a] = argv[++i];
                } else {
                    throw UsageError{"unknown option " + a};
                }
            } else {
                positional.push_back(a);
            }
        }
    }
    void expect(std::size_t count, const char *shape) const {
        if (positional.size() != count)
            throw UsageError{std::string("expected: busdb ") + shape};
    }
    bool has(const std::string &flag) const { return std::find(flags.begin(), flags.end(), flag) != flags.end(); }
    std::string option(const std::string &name, bool required) const {
        auto it = options.find(name);
        if (it == options.end()) {
            if (required)
                throw UsageError{name + " is required"};
            return {};
        }
        return it->second;
    }
};

long number(const std::string &name, const std::string &text, long min, long max) {
    char *end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < min || value > max)
        throw UsageError{name + " must be a whole number from " + std::to_string(min) + " to " + std::to_string(max)};
    return value;
}

// "HH:MM" (or "H:MM") as minutes after midnight.
int clockMinute(const std::string &text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2 || text.size() != colon + 3)
        throw UsageError{"--at must be a clock time HH:MM"};
    const long hour = number("--at hour", text.substr(0, colon), 0, 23);
    return int(hour * 60 + number("--at minute", text.substr(colon + 1), 0, 59));
}

int dispatch(const std::string &command, int argc, const char *const *argv, std::ostream &out, std::ostream &err) {
    if (command == "create") {
        Arguments a(argc, argv, 2, {}, {});
        a.expect(1, "create FILE");
        createDatabase(a.positional[0]);
        out << "created " << a.positional[0] << '\n';
        return 0;
    }
    if (command == "import" || command == "demo") {
        bool demo = command == "demo";
        Arguments a(argc, argv, 2, demo ? std::vector<std::string>{"--from"} : std::vector<std::string>{}, {});
        a.expect(demo ? 1 : 2, demo ? "demo FILE [--from DIR]" : "import FILE DIR");
        std::string dir = demo ? a.option("--from", false) : a.positional[1];
        if (demo && dir.empty()) {
            dir = defaultDemoDir();
            std::error_code ec;
            if (!std::filesystem::is_directory(dir, ec))
                throw Error(dir + ": the demo CSV files are not there (a busdb run from its build folder has "
                                  "none); give their folder with --from DIR");
        }
        ImportCounts c = demo ? buildFromCsv(a.positional[0], dir) : importCsv(a.positional[0], dir);
        out << (demo ? "built " : "imported into ") << a.positional[0] << ": " << c.provinces << " provinces, "
            << c.cities << " cities, " << c.lines << " lines, " << c.settings << " settings\n";
        if (c.routeTables)
            out << "and " << c.lineKinds << " line kinds, " << c.places << " places\n";
        return 0;
    }
    if (command == "query") {
        Arguments a(argc, argv, 2, {}, {});
        a.expect(2, "query FILE SQL");
        return runQuery(a.positional[0], a.positional[1], out, err);
    }
    if (command == "generate") {
        Arguments a(argc, argv, 2, {"--cities", "--lines"}, {});
        a.expect(1, "generate FILE --cities N --lines M");
        long cities = number("--cities", a.option("--cities", true), 1, 100000);
        long lines = number("--lines", a.option("--lines", true), 0, 10000000);
        generateDatabase(a.positional[0], cities, lines);
        out << "generated " << a.positional[0] << ": " << cities << " cities, " << cities * lines << " lines\n";
        return 0;
    }
    if (command == "import-gtfs") {
        Arguments a(argc, argv, 2, {"--province", "--city", "--city-id"}, {"--replace"});
        a.expect(2, "import-gtfs FILE FEED --province NAME --city NAME [--city-id ID] [--replace]");
        GtfsTarget target{a.option("--province", true), a.option("--city", true), a.option("--city-id", false)};
        GtfsImport result = importGtfs(a.positional[0], a.positional[1], target, a.has("--replace"));
        out << gtfsSummary(result, target);
        return 0;
    }
    if (command == "route") {
        Arguments a(argc, argv, 2, {"--city", "--max-changes", "--at"}, {});
        a.expect(3, "route FILE --city NAME|ID FROM TO [--max-changes N] [--at HH:MM]");
        // Given but empty is as wrong as any other text that is not 0, 1 or 2 (or not a clock time).
        const bool given = a.options.count("--max-changes") > 0;
        int maxChanges = given ? int(number("--max-changes", a.option("--max-changes", true), 0, 2)) : 2;
        const int atMinute = a.options.count("--at") > 0 ? clockMinute(a.option("--at", true)) : -1;
        return printRoutes(a.positional[0], a.option("--city", true), a.positional[1], a.positional[2], maxChanges,
                           atMinute, out, err);
    }
    throw UsageError{"unknown command " + command};
}

} // namespace

int runCli(int argc, const char *const *argv, std::ostream &out, std::ostream &err) {
    if (argc < 2) {
        err << kUsage;
        return 2;
    }
    std::string command = argv[1];
    if (command == "help" || command == "--help" || command == "-h") {
        out << kUsage;
        return 0;
    }
    try {
        return dispatch(command, argc, argv, out, err);
    } catch (const UsageError &e) {
        err << "busdb: " << e.message << "\n\n" << kUsage;
        return 2;
    } catch (const Error &e) {
        err << "busdb: " << e.what() << '\n';
    } catch (const Exception &e) {
        // The database layer's messages are GBK.
        err << "busdb: " << layerMessage(e) << '\n';
    } catch (const std::exception &e) {
        err << "busdb: " << e.what() << '\n';
    }
    return 1;
}

} // namespace velmora::busdb
