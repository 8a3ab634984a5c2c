// See ../QtGui/qtguiglobal.h: a core file may include no Qt Widgets header.
#error "The core library links Qt Core only: no Qt Gui or Qt Widgets header may be included here."
