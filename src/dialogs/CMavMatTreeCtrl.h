// CMavMatTreeCtrl: the tree of the materials of the library (below "Bibliothek") and of the drawing (below
// "Zeichnung"), each with its sub-materials, restricted to edge or physical data when asked.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "afx/CImageList.h"
#include "base/CMavArray.h"
#include "base/CMavString.h"
#include "data/materials.h"
#include "ui/CMavTreeCtrl.h"

class CMavMatTreeCtrl : public CMavTreeCtrl {
    DECLARE_DYNAMIC(CMavMatTreeCtrl)
public:
    // The flag word of init.
    enum : unsigned long {
        flagDrawing = 1,   // the drawing's materials below a second root "Zeichnung"
        flagNames = 2,     // name, three spaces and label
        flagEdge = 4,      // only materials with edge data (or such a sub-material)
        flagSystem = 8,    // "SYSTEM" as the last library root
        flagNoSpace = 16,  // "SPACE" left out of the roots
        flagPhys = 32      // only materials with all the physical property names (or such a sub-material)
    };
    // Sub-materials nest at most this deep below a root; a material is never shown below itself. Libraries with
    // a cycle of sub-materials (A below B below A) thus end after one round of the cycle.
    enum { kMaxDepth = 16 };

    CMavMatTreeCtrl();

    // Builds the tree for the flags, selects initialName's first item (else the root "Bibliothek"); true.
    bool init(unsigned long flags, const wchar_t* initialName, const CMavArrayTempl<CMavString>& physNames);
    // Selects the first item (in handle order) of the material name; false when there is none.
    bool selectMat(const wchar_t* name);
    // The material name of the selected item; false for a root or no selection.
    bool getSelMat(CMavString& name);
    // The material name of an item; null for a root or an unknown item.
    const CMavString* itemMat(HTREEITEM item) const;
    // The number of items inserted so far. Items below a material are inserted when it is first expanded (or its
    // children are asked for), so a tree that was never opened holds only the roots and the root materials.
    int insertedCount() const { return static_cast<int>(m_itemNames.size()); }

    // No tool tips: the tree's items show their whole text.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* info) const;

protected:
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Entry {
        HTREEITEM item;
        CMavString name;
        const CMavString* label; // in m_info
        int depth;    // 0 for a root material, one more per level below
        bool pending; // it has children that are not inserted yet
    };
    void rootMat(CMavArrayTempl<CMavString>& library, CMavArrayTempl<CMavString>& drawing, unsigned long flags);
    // A material's properties and label, read once per build.
    struct MatInfo {
        MAV::CMatProp prop;
        CMavString label;
    };
    std::vector<HTREEITEM> buildTree(const CMavArrayTempl<CMavString>& names, HTREEITEM parent, int depth);
    std::vector<HTREEITEM> buildRoots(const CMavArrayTempl<CMavString>& names, HTREEITEM parent);
    HTREEITEM insertMat(const CMavString& name, const MatInfo& material, HTREEITEM parent, int depth, bool& children);
    void childNames(const CMavString& name, int depth, const std::vector<CMavString>& path,
                    std::vector<CMavString>& out);
    std::vector<HTREEITEM> expandItem(HTREEITEM item);
    void pathOf(HTREEITEM item, std::vector<CMavString>& path);
    bool lastRoute(const CMavString& name, int depth, std::vector<CMavString>& path, std::vector<int>& route);
    bool containsMat(const CMavString& name, int depth, std::vector<CMavString>& path, const wchar_t* wanted);
    void revealMat(HTREEITEM item, const wchar_t* wanted);
    void addEntries(std::vector<Entry>& added);
    const MatInfo& info(const CMavString& name);
    bool hasEdgeSubs(const MAV::CMatProp& prop, std::vector<const CMavString*>& seen);
    bool hasPhysSubs(const MAV::CMatProp& prop, std::vector<const CMavString*>& seen);
    bool hasPhysNames(const MAV::CMatProp& prop) const;
    BOOL ToolTip(NMHDR* header, LRESULT* result);
    const Entry* find(HTREEITEM item) const;
    Entry* find(HTREEITEM item);
    void sortRoot(HTREEITEM root);
    static int CALLBACK compareItems(LPARAM a, LPARAM b, LPARAM context);

    CImageList m_imageList;
    CMavMatMgr m_matMgr;
    CMavString m_strWantedMat;
    CMavString m_strInitMat;
    HTREEITEM m_hInitItem = nullptr;
    std::vector<Entry> m_itemNames; // ordered by handle
    CMavArrayTempl<CMavString> m_physNames;
    unsigned long m_flags = 0;
    std::unordered_map<std::wstring, MatInfo> m_info; // by upper-case name, from init until the next init
};
