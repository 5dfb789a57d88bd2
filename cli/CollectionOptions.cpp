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
    app.add_option("--json", options.jsonFile, "write the outcome of every row to FILE as JSON")->type_name("FILE");
    app.footer("A collection: kolvex-convert -r ~/Music/lossless -o ~/Music/mp3 converts every album (a CUE sheet "
               "with its image, or an image with its sheet inside) and every loose track into the same sub-folders "
               "of the output directory; run again, it converts only what changed (DEST/.kolvex-manifest remembers "
               "what it made). kolvex-convert --plan -r SRC -o DEST > plan; parallel -j2 < plan converts it on "
               "several cores or, with parallel -S host1,host2, on several machines sharing the folders.\n\n"
               "Exit status: 0 when every row produced its file (or was skipped), 1 when a row did not, 2 on bad "
               "usage, 128 + the signal when interrupted.");
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
