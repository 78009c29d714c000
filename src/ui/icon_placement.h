// Where a minimised window draws its icon: centred in the client area, the odd
// pixel going to the left or top, the quotient truncated toward zero so that
// an area one pixel narrower than the icon still starts at 0.
#pragma once

inline int CentredIconOrigin(int clientExtent, int iconExtent) {
    return (clientExtent - iconExtent + 1) / 2;
}
