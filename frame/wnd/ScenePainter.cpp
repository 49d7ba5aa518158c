// ScenePainter.cpp - see ScenePainter.h.
#include "ScenePainter.h"

#include "AreaHost.h"

CQVScenePainter::CQVScenePainter() : CBkPainter(kTypeScene) {}

CQVScenePainter::~CQVScenePainter()
{
    if (IAreaHost* host = GetAreaHost()) {
        if (host->m_pScenePainter == this)
            host->m_pScenePainter = NULL;
    }
}

void CQVScenePainter::OnMouseDown(int, int)
{
    if (IAreaHost* host = GetAreaHost())
        host->m_pPressedArea = this;
}

BOOL CQVScenePainter::ReadSceneInfo(CQVIniFile*, LPCSTR) { return TRUE; }

void CQVScenePainter::OnTick(BOOL) {}

void CQVScenePainter::ShowBalloon(int, LPCSTR) {}
