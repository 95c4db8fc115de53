#pragma once
// Enumerations that the library's charts, scales, 3-D plot, bar, meter and labels publish
// (ordinal values from 0 in the order listed), and the class library's text alignment.

enum TFrameStyle { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TCrossHMode { chOff, chHoriz, chVert, chBoth };
enum TTimeFormat { tfHHMMSS, tfHHhMM, tfAMPM };
enum TYearLength { ylNone, ylYY, ylYYYY };
enum TDateOrder { doMMDDYY, doDDMMYY, doYYMMDD };
enum TDateForTime { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
enum TVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TTxtLblAttachMode { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
enum TTxtLblMode { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
enum TBkgFill { bfSimple, bfStretch, bfTile };
enum TBoundingBox { bbNone, bbFrame, bbFaces };
enum TColorScheme { csBWG, csSystem };
enum TFigType { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
enum TScaleType { sctXB, sctXT, sctYL, sctYR };
enum TShadowStyle { ssFlying, ssBox };
enum TDirection { dirUpward, dirDownward, dirLeftward, dirRightward };
enum TLanguage { lgUnknown, lgEnglish, lgGerman, lgFrench, lgSpanish };
enum TVarKind { rnum, dnum, snum, inum, lnum, Bool, strg };
enum TMouseBoxState { msNormal, msFirstCorner, msRectDraw, msFinished };
enum TMouseActMode {
    maNone, maPan, maPanHoriz, maPanVert, maRubberBand, maZoom, maZoomWind, maZoomWindPos,
    maZoomDrag, maDragCrossH, maDragLabel, maRotate, maRotAndZoom, maRotXOnly, maRotZOnly
};
enum TZoomState { zsNormal, zsDrawWin };
enum TDegreeFormat { dfDeg, dfDegMin, dfDegMinSec, dfNumeric };

// Placement of a text: at its left end, its right end, or centred.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
