// The archive writer: a sorted walk of the folder, the table of contents and the data built
// side by side in the same depth-first order.
#include "Pack.h"

#include "io/QpkArchive.h"
#include "io/Utf8.h"

#include <dirent.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace Qpk {

namespace {

using IO::QpkArchive;

struct Node
{
    std::u16string name;
    std::string hostPath;
    bool isDirectory = false;
    std::vector<Node> children; // sorted by name, in UTF-16 code units
};

struct Identity
{
    dev_t device = 0;
    ino_t inode = 0;
};

// Reads the folder's tree; `skip` is the archive being written, should it lie inside.
bool Collect(const std::string& folder, uint32_t depth, const Identity& skip,
             std::vector<Node>& out, std::string& error)
{
    if (depth > QpkArchive::MaxDepth) {
        error = folder + ": folders nest too deeply";
        return false;
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        error = "cannot read folder " + folder;
        return false;
    }
    while (const dirent* d = readdir(dir)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..")
            continue;
        Node node;
        node.hostPath = folder + "/" + name;
        if (!IO::Utf8ToUtf16(name, node.name) || !IO::IsPlainName(node.name) ||
            node.name.size() > QpkArchive::MaxNameLength) {
            error = node.hostPath + ": name cannot be stored (not UTF-8, holds \\, or too long)";
            break;
        }
        struct stat info;
        if (stat(node.hostPath.c_str(), &info) != 0) {
            error = "cannot read " + node.hostPath;
            break;
        }
        if (info.st_dev == skip.device && info.st_ino == skip.inode)
            continue;
        if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) {
            error = node.hostPath + ": not a file or folder";
            break;
        }
        node.isDirectory = S_ISDIR(info.st_mode);
        out.push_back(std::move(node));
    }
    closedir(dir);
    if (!error.empty())
        return false;
    std::sort(out.begin(), out.end(), [](const Node& a, const Node& b) { return a.name < b.name; });
    for (Node& node : out) {
        if (node.isDirectory && !Collect(node.hostPath, depth + 1, skip, node.children, error))
            return false;
    }
    return true;
}

void Put16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, static_cast<uint16_t>(value));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

void PutRecord(std::string& toc, const std::u16string& name, uint16_t flags, uint32_t a, uint32_t b)
{
    Put16(toc, static_cast<uint16_t>(name.size()));
    for (char16_t unit : name)
        Put16(toc, unit);
    Put16(toc, flags);
    Put32(toc, a);
    Put32(toc, b);
}

// Appends the records of nodes to toc and their files' bytes to data.
bool Emit(const std::vector<Node>& nodes, bool store, std::string& toc, std::string& data,
          std::string& error)
{
    for (const Node& node : nodes) {
        if (node.isDirectory) {
            PutRecord(toc, node.name, 0, static_cast<uint32_t>(node.children.size()), 0);
            if (!Emit(node.children, store, toc, data, error))
                return false;
            continue;
        }
        std::ifstream in(node.hostPath, std::ios::binary);
        std::string plain{std::istreambuf_iterator<char>(in), {}};
        if (in.bad()) {
            error = "cannot read " + node.hostPath;
            return false;
        }
        if (plain.size() > UINT32_MAX || data.size() > UINT32_MAX) {
            error = node.hostPath + ": archive would exceed 4 GiB";
            return false;
        }
        uint16_t flags = QpkArchive::FlagFile;
        std::string packed;
        if (!store && !plain.empty()) {
            uLongf length = compressBound(plain.size());
            packed.resize(length);
            if (compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
                          reinterpret_cast<const Bytef*>(plain.data()), plain.size(),
                          Z_BEST_COMPRESSION) == Z_OK &&
                length < plain.size()) {
                packed.resize(length);
                flags |= QpkArchive::FlagCompressed;
            }
        }
        PutRecord(toc, node.name, flags, static_cast<uint32_t>(data.size()),
                  static_cast<uint32_t>(plain.size()));
        data += (flags & QpkArchive::FlagCompressed) ? packed : plain;
    }
    return true;
}

} // namespace

bool PackFolder(const std::string& archivePath, const std::string& folder, bool store,
                std::string& error)
{
    Identity skip;
    struct stat info;
    if (stat(archivePath.c_str(), &info) == 0)
        skip = {info.st_dev, info.st_ino};
    std::vector<Node> tree;
    if (!Collect(folder, 0, skip, tree, error))
        return false;

    std::string toc = "QPK2";
    const std::u16string rootName = u"Root";
    Put16(toc, static_cast<uint16_t>(rootName.size()));
    for (char16_t unit : rootName)
        Put16(toc, unit);
    Put16(toc, 0);
    Put32(toc, static_cast<uint32_t>(tree.size()));
    Put32(toc, 0);
    std::string data;
    if (!Emit(tree, store, toc, data, error))
        return false;
    if (toc.size() + data.size() > UINT32_MAX) {
        error = "archive would exceed 4 GiB";
        return false;
    }

    std::ofstream out(archivePath, std::ios::binary | std::ios::trunc);
    out << toc << data;
    out.close();
    if (!out) {
        error = "cannot write " + archivePath;
        return false;
    }
    return true;
}

} // namespace Qpk
