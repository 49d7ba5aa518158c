// Stand-in of the platform's tool bar component: a COM object with a
// dispatch interface of its own (IID_IQVToolBar) and an event interface. It
// records the calls it gets; value 6 is 1 unless a test puts another.
#include "StandIn.h"
#include "AxControls.h"

namespace {

class ToolComponent : public StandIn::Control
{
public:
    ToolComponent() : Control(CLSID_QVToolBar, DIID_QVToolBarEvents, IID_IQVToolBar) {}

    HRESULT Call(DISPID id, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult) override
    {
        if (id == QVTOOL_VALUE6) {
            if (wFlags & DISPATCH_PROPERTYPUT) {
                VARIANT* pValue = StandIn::Arg(pParams, 0);
                if (pValue == NULL || pValue->vt != VT_I4)
                    return DISP_E_TYPEMISMATCH;
                m_nValue6 = pValue->lVal;
                return S_OK;
            }
            pResult->vt = VT_I4;
            pResult->lVal = m_nValue6;
            return S_OK;
        }
        if (id >= QVTOOL_PUTVALUE && id <= QVTOOL_SETPOSITION)
            return S_OK;
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    LONG m_nValue6 = 1;
};

StandIn::Control* CreateTool() { return new ToolComponent; }

} // namespace

const StandIn::ClassEntry StandIn::g_classes[] = {
    {&CLSID_QVToolBar, L"QVToolBar.Component", L"Tool bar component", CreateTool},
};
const int StandIn::g_nClasses = 1;
