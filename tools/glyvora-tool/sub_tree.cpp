// glyvora-tool tree: the tree file (the items blob of the category tree) as an outline, and a
// resave through the tree model.
#include "forms/items_blob.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "tool.h"

namespace glyvora::tool {

namespace {

std::optional<ParsedItems> load(const std::string& utf8Path, TreeModel& model) {
    const auto bytes = readWholeFile(pathArgument(utf8Path));
    if (!bytes) {
        err("glyvora-tool tree: cannot read " + utf8Path + "\n");
        return std::nullopt;
    }
    ParsedItems parsed = parseItemsBlob(bytes->data(), bytes->size());
    rebuildItems(model, parsed.records);
    if (!parsed.complete) err("glyvora-tool tree: the file ends inside a record; that record is left out\n");
    return parsed;
}

int dump(const Args& args) {
    if (args.size() != 1) {
        err("usage: glyvora-tool tree dump FILE\n");
        return 2;
    }
    TreeModel model;
    if (!load(args[0], model)) return 1;
    for (const TreeItem& item : model.items()) {
        std::string line(static_cast<std::size_t>(2 * (item.level - 1)), ' ');
        line += std::to_string(item.level) + " " + ansiToUtf8(item.text);
        if (item.bold) line += " [bold]";
        if (item.expanded) line += " [expanded]";
        if (item.image) line += " image=" + std::to_string(item.image);
        if (item.selectedImage) line += " selected-image=" + std::to_string(item.selectedImage);
        if (item.value) line += " value=" + std::to_string(item.value);
        if (item.stateImage) line += " state-image=" + std::to_string(item.stateImage);
        out(line + "\n");
    }
    return 0;
}

int resave(const Args& args) {
    if (args.size() != 2) {
        err("usage: glyvora-tool tree resave IN OUT\n");
        return 2;
    }
    TreeModel model;
    if (!load(args[0], model)) return 1;
    if (!writeWholeFile(pathArgument(args[1]), {serialiseItems(model)})) {
        err("glyvora-tool tree: cannot write " + args[1] + "\n");
        return 1;
    }
    return 0;
}

const bool registered = registerSubcommand({
    "tree",
    "  tree dump FILE         the tree file as an indented outline\n"
    "  tree resave IN OUT     load the tree file into the tree model and write it back\n",
    [](const Args& args) {
        if (!args.empty() && args[0] == "dump") return dump(Args(args.begin() + 1, args.end()));
        if (!args.empty() && args[0] == "resave") return resave(Args(args.begin() + 1, args.end()));
        err("usage: glyvora-tool tree dump FILE | tree resave IN OUT\n");
        return 2;
    },
});

} // namespace

} // namespace glyvora::tool
