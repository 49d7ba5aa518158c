// CRect operations that are more than one line.
#include "afx.h"

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2)
{
    CRect r(std::max(lpRect1->left, lpRect2->left), std::max(lpRect1->top, lpRect2->top),
            std::min(lpRect1->right, lpRect2->right), std::min(lpRect1->bottom, lpRect2->bottom));
    if (r.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    *this = r;
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2)
{
    CRect r1(lpRect1), r2(lpRect2);
    if (r1.IsRectEmpty()) {
        if (r2.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = r2;
        return TRUE;
    }
    if (r2.IsRectEmpty()) {
        *this = r1;
        return TRUE;
    }
    SetRect(std::min(r1.left, r2.left), std::min(r1.top, r2.top),
            std::max(r1.right, r2.right), std::max(r1.bottom, r2.bottom));
    return TRUE;
}

// The part of rectangle 1 outside rectangle 2 when that part is a rectangle
// (rectangle 2 covers a whole side of it); otherwise rectangle 1.
BOOL CRect::SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2)
{
    CRect r(lpRectSrc1);
    if (r.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    CRect overlap;
    if (overlap.IntersectRect(&r, lpRectSrc2)) {
        if (overlap == r) {
            SetRectEmpty();
            return FALSE;
        }
        if (overlap.top == r.top && overlap.bottom == r.bottom) {
            if (overlap.left == r.left)
                r.left = overlap.right;
            else if (overlap.right == r.right)
                r.right = overlap.left;
        } else if (overlap.left == r.left && overlap.right == r.right) {
            if (overlap.top == r.top)
                r.top = overlap.bottom;
            else if (overlap.bottom == r.bottom)
                r.bottom = overlap.top;
        }
    }
    *this = r;
    return TRUE;
}
