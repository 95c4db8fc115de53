#pragma once
// The table editor's two pauses for bulk operations; used by its own sources only.
#include "controls/NTabEd.h"

// Painting suppressed while it lives; nests.
class TNTabEd::PaintPause {
public:
    explicit PaintPause(TNTabEd& ed) : ed_(ed) { ++ed_.internalSuppress_; }
    ~PaintPause() { --ed_.internalSuppress_; }
    PaintPause(const PaintPause&) = delete;
    PaintPause& operator=(const PaintPause&) = delete;

private:
    TNTabEd& ed_;
};

// The table's change notices detached and painting suppressed while it lives.
class TNTabEd::NoticePause {
public:
    explicit NoticePause(TNTabEd& ed) : ed_(ed)
    {
        ++ed_.internalSuppress_;
        ed_.data_->SetOnChange(nullptr);
    }
    ~NoticePause()
    {
        ed_.data_->SetOnChange([ed = &ed_] { ed->TableChanged(); });
        --ed_.internalSuppress_;
    }
    NoticePause(const NoticePause&) = delete;
    NoticePause& operator=(const NoticePause&) = delete;

private:
    TNTabEd& ed_;
};

