#include "cli/CollectionOptions.h"

void AddCollectionOptions(CLI::App& app, CommandLine& options)
{
    app.add_flag("-r,--recursive", options.recursive,
                 "convert every album and loose track in the folders given, into the same sub-folders of the "
                 "output directory; what an earlier run made with the same sources and settings is skipped");
    app.add_flag("--force", options.force, "with -r: convert everything again, even what is up to date");
    app.add_flag("--plan", options.plan,
                 "with -r: print one shell command per album and per folder of loose tracks instead of "
                 "converting (for GNU parallel, also across hosts)");
    app.add_flag("--defaults", options.defaults, "read no settings file: the built-in defaults and the options given");
    app.add_option("--json", options.jsonFile, "write the outcome of every row to FILE as JSON");
}

std::string CheckCollectionOptions(const CommandLine& options)
{
    if ((options.force || options.plan) && !options.recursive)
        return "--force and --plan go with -r";
    if (options.defaults && !options.settingsFile.empty())
        return "--defaults reads no settings file; leave out --settings";
    if (options.recursive && (options.list || options.whole))
        return "-r cannot go with --list or --whole";
    return {};
}
