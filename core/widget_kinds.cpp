// The table of widget kinds by type code: each class supplies its row in its own source.
#include "widget_kinds.h"

extern const WidgetKind LabelKind;
extern const WidgetKind PushButtonKind;
extern const WidgetKind ButtonKind;

const WidgetKind *KindOf(int typeCode)
{
    switch (typeCode) {
    case TypeLabel:
        return &LabelKind;
    case TypePushButton:
        return &PushButtonKind;
    case TypeButton:
        return &ButtonKind;
    default:
        return nullptr;
    }
}
