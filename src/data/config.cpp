// The application's configuration tree.
//
// The shipped defaults (data/config/mav.cfg, compiled in) give the display colours below "KRV_MENU\COLOR" and the
// application name "_APPL". A host merges its own file over them with CConfig::load.
#include "data/config.h"

#include <memory>
#include <string>

#include "data/datafile.h"
#include "data/embedded_data.h"

namespace MAV {

namespace {

std::unique_ptr<CMavDataItem>& rootSlot()
{
    static std::unique_ptr<CMavDataItem> root;
    return root;
}

void fillDefaults(CMavDataItem& root)
{
    // The shipped text is read once; a reset copies the tree, which costs a fraction of reading it again.
    static const CMavDataItem defaults = [] {
        CMavDataItem tree;
        tree.makeDirectory();
        const std::string text = embeddedText(kEmbeddedConfig);
        dataFromText(tree, text.data(), text.size());
        return tree;
    }();
    root = defaults;
}

} // namespace

CMavDataItem* CConfig::getCfgRoot()
{
    std::unique_ptr<CMavDataItem>& root = rootSlot();
    if (!root) {
        root = std::make_unique<CMavDataItem>();
        fillDefaults(*root);
    }
    return root.get();
}

void CConfig::reset()
{
    fillDefaults(*getCfgRoot());
}

bool CConfig::load(const wchar_t* path)
{
    std::string bytes;
    if (!readFileBytes(path, bytes))
        return false;
    return loadText(bytes.data(), bytes.size());
}

bool CConfig::loadText(const char* text, size_t size)
{
    return dataFromText(*getCfgRoot(), text, size);
}

CMavDataItem* cfg_get(const CMavDataKey& key)
{
    return CConfig::getCfgRoot()->get(key);
}

CMavDataItem* cfg_get(const wchar_t* key)
{
    return cfg_get(CMavDataKey(key));
}

CMavDataItem* cfg_dir_make(const CMavDataKey& key)
{
    return CConfig::getCfgRoot()->makeDir(key);
}

CMavDataItem* cfg_dir_make(const wchar_t* key)
{
    return cfg_dir_make(CMavDataKey(key));
}

} // namespace MAV
