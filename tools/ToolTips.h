#pragma once

class CDialog;
class CDiablo2Doc;

// What each field and button of the raw byte tools is, with its unit and
// limits: the control's tooltip, and the same text as its accessible
// description; the label before a field shows its tooltip too. The offsets
// name this file's own range of byte positions.
void ExplainEditValue(CDialog &dlg, const CDiablo2Doc &doc);
void ExplainFindValue(CDialog &dlg, const CDiablo2Doc &doc);
void ExplainCompare(CDialog &dlg);
