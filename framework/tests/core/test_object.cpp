// Run-time class records, dynamic creation, exceptions, module state.
#include <gtest/gtest.h>

#include "afx.h"

namespace {

class CShape : public CObject
{
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape
{
    DECLARE_DYNCREATE(CCircle)
public:
    int m_nRadius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

// Creatable, but its constructor fails the way framework code fails.
class CFailing : public CObject
{
    DECLARE_DYNCREATE(CFailing)
public:
    CFailing() { AfxThrowResourceException(); }
};
IMPLEMENT_DYNCREATE(CFailing, CObject)

}  // namespace

TEST(FrameworkObject, RecordsCarryClassNamesAndBases)
{
    CCircle circle;
    CRuntimeClass* pClass = circle.GetRuntimeClass();
    EXPECT_STREQ("CCircle", pClass->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CShape), pClass->m_pBaseClass);
    EXPECT_STREQ("CObject", pClass->m_pBaseClass->m_pBaseClass->m_lpszClassName);
    EXPECT_EQ((int)sizeof(CCircle), pClass->m_nObjectSize);
    EXPECT_EQ(0xFFFFu, pClass->m_wSchema);

    // Through a base pointer the most derived record answers.
    CObject* pObject = &circle;
    EXPECT_STREQ("CCircle", pObject->GetRuntimeClass()->m_lpszClassName);
    // Framework classes carry their own names too.
    CPtrArray array;
    EXPECT_STREQ("CPtrArray", array.GetRuntimeClass()->m_lpszClassName);
}

TEST(FrameworkObject, IsKindOfFollowsTheBaseChain)
{
    CCircle circle;
    CShape shape;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CPtrArray)));

    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CShape, &circle));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CCircle, &shape));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CCircle, (CObject*)nullptr));
}

TEST(FrameworkObject, DynamicCreationFromTheClassRecord)
{
    CObject* pObject = RUNTIME_CLASS(CCircle)->CreateObject();
    ASSERT_NE(nullptr, pObject);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(7, static_cast<CCircle*>(pObject)->m_nRadius);
    delete pObject;

    // Not creatable: no object. Failing constructor: no object, no throw.
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->CreateObject());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CFailing)->CreateObject());
}

TEST(FrameworkException, KindsAreCaughtAsPointersAndDeleted)
{
    struct Case { void (*pfnThrow)(); CRuntimeClass* pClass; };
    const Case cases[] = {
        {[] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException)},
        {[] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException)},
        {[] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException)},
        {[] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException)},
        {[] { AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, "a.txt"); },
         RUNTIME_CLASS(CFileException)},
    };
    for (const Case& c : cases) {
        bool bCaught = false;
        try {
            c.pfnThrow();
        } catch (CException* e) {
            bCaught = true;
            EXPECT_TRUE(e->IsKindOf(c.pClass)) << c.pClass->m_lpszClassName;
            e->Delete();   // shared ones stay alive, allocated ones are freed
        }
        EXPECT_TRUE(bCaught) << c.pClass->m_lpszClassName;
    }
    // The shared exceptions survive Delete and can be thrown again.
    for (int i = 0; i < 2; i++) {
        try {
            AfxThrowMemoryException();
        } catch (CMemoryException* e) {
            char szText[64];
            EXPECT_TRUE(e->GetErrorMessage(szText, sizeof(szText)));
            e->Delete();
        }
    }
}

TEST(FrameworkException, FileExceptionCarriesCauseAndName)
{
    try {
        AfxThrowFileException(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION),
                              ERROR_SHARING_VIOLATION, "c:\\x\\game.dat");
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::sharingViolation, e->m_cause);
        EXPECT_EQ(ERROR_SHARING_VIOLATION, e->m_lOsError);
        char szText[8];   // too small: cut, still terminated
        EXPECT_TRUE(e->GetErrorMessage(szText, sizeof(szText)));
        EXPECT_EQ(7u, strlen(szText));
        e->Delete();
    }
}

TEST(FrameworkException, CatchMacrosDeleteUnlessRethrown)
{
    int nHandled = 0;
    TRY {
        TRY {
            AfxThrowUserException();
        }
        CATCH(CUserException, e) {
            nHandled++;
            THROW_LAST();
        }
        END_CATCH
    }
    CATCH_ALL(e) {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CUserException)));
        nHandled++;
    }
    END_CATCH_ALL
    EXPECT_EQ(2, nHandled);
}

TEST(FrameworkModule, ResourceHandleFallsBackToTheInstance)
{
    HINSTANCE hExe = ::GetModuleHandleA(NULL);
    EXPECT_EQ(hExe, AfxGetInstanceHandle());
    EXPECT_EQ(hExe, AfxGetResourceHandle());
    HINSTANCE hKernel = ::GetModuleHandleA("kernel32.dll");
    AfxSetResourceHandle(hKernel);
    EXPECT_EQ(hKernel, AfxGetResourceHandle());
    AfxSetResourceHandle(NULL);
    EXPECT_EQ(hExe, AfxGetResourceHandle());
}
