// AreaHost.cpp - see AreaHost.h.
#include "AreaHost.h"

namespace {
IAreaHost* g_pAreaHost = NULL;
}

IAreaHost* GetAreaHost() { return g_pAreaHost; }
void SetAreaHost(IAreaHost* host) { g_pAreaHost = host; }

IAreaHost::IAreaHost()
    : m_pScenePainter(NULL), m_hArrowCursor(NULL), m_hSizeNSCursor(NULL), m_hSizeWECursor(NULL),
      m_pPressedButton(NULL), m_pPressedArea(NULL), m_painters(10), m_nBalloonTime(5000), m_bBalloonsOn(FALSE)
{
}

IAreaHost::~IAreaHost()
{
    if (g_pAreaHost == this)
        g_pAreaHost = NULL;
}

void IAreaHost::OnSceneButton(LPCSTR, CQVSceneItem*) {}
void IAreaHost::OnTitleButtonKey(int) {}
void IAreaHost::OnSceneEffectHit(LPCSTR, CQVSceneItem*) {}

void IAreaHost::AddPainter(CBkPainter* painter)
{
    if (painter != NULL && !HasPainter(painter))
        m_painters.Add(painter);
}

void IAreaHost::RemovePainter(CBkPainter* painter) { m_painters.Remove(painter); }

BOOL IAreaHost::HasPainter(const CBkPainter* painter) const
{
    return painter != NULL && m_painters.Find(painter) >= 0;
}
