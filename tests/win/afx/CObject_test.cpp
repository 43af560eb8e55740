// Run-time class information: class names, the chain of base classes and dynamic creation.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "afx/afxwin.h"

namespace {
class CTestEdit : public CEdit {
    DECLARE_DYNCREATE(CTestEdit)
};
IMPLEMENT_DYNCREATE(CTestEdit, CEdit)

class CUndeclared : public CButton {};
} // namespace

TEST(AfxRuntimeClass, KindOfFollowsTheDeclaredBaseClasses)
{
    CTestEdit edit;
    EXPECT_STREQ(edit.GetRuntimeClass()->m_lpszClassName, "CTestEdit");
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CTestEdit)));
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CEdit)));
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(edit.IsKindOf(RUNTIME_CLASS(CComboBox)));
    EXPECT_FALSE(edit.IsKindOf(nullptr));
    EXPECT_EQ(RUNTIME_CLASS(CTestEdit)->GetBaseClass(), RUNTIME_CLASS(CEdit));

    // A class without its own declaration answers with the nearest declared class.
    CUndeclared button;
    EXPECT_STREQ(button.GetRuntimeClass()->m_lpszClassName, "CButton");
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CButton)));
    EXPECT_FALSE(button.IsKindOf(RUNTIME_CLASS(CEdit)));

    for (const CRuntimeClass* c : {RUNTIME_CLASS(CDialog), RUNTIME_CLASS(CPaintDC), RUNTIME_CLASS(CWinApp)})
        EXPECT_TRUE(c->IsDerivedFrom(RUNTIME_CLASS(CObject))) << c->m_lpszClassName;
    EXPECT_TRUE(RUNTIME_CLASS(CPaintDC)->IsDerivedFrom(RUNTIME_CLASS(CDC)));
    EXPECT_FALSE(RUNTIME_CLASS(CDC)->IsDerivedFrom(RUNTIME_CLASS(CPaintDC)));
}

TEST(AfxRuntimeClass, DynamicCreationMakesAnObjectOfTheDescribedClass)
{
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CTestEdit)->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CTestEdit)));
    EXPECT_EQ(RUNTIME_CLASS(CEdit)->CreateObject(), nullptr) << "a class declared dynamic only has no factory";
}
