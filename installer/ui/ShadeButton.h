// The installer's check box: an owner-drawn button that keeps its own checked
// state and draws a state icon with its window text beside it.
#pragma once

#include "framework/AfxControls.h"

class CNimbShadeButtonST : public CButton {
public:
    CNimbShadeButtonST() = default;
    ~CNimbShadeButtonST() override;

    void SetCheck(int checked, BOOL redraw = TRUE);
    int GetCheck() const { return m_bChecked; }
    // Replaces the checked icon, and the unchecked one unless its id is 0.
    void SetIcons(UINT checkedId, UINT uncheckedId);

    int m_bChecked = 0;
    COLORREF m_crText = RGB(60, 68, 94);
    HICON m_hIconChecked = nullptr;
    HICON m_hIconUnchecked = nullptr;
    SIZE m_sizeIcon{0, 0};

protected:
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HICON LoadStateIcon(UINT id) const;
    void DestroyIcons();
};
