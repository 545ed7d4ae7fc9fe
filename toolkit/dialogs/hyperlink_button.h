// CExtHyperLinkButton: a push button that looks like a link. It draws only its text, in
// colours for the normal, hover, focused, pressed, visited and disabled states, and when
// clicked opens its address (or its own text) through the shell: the Internet shortcut
// object, ShellExecute, or the program registered for ".htm" files.
#pragma once
#include "toolkit/dialogs/button.h"

class CExtHyperLinkButton : public CExtButton
{
    DECLARE_DYNCREATE(CExtHyperLinkButton)
public:
    enum
    {
        LINK_PLAIN_BUTTON = 0x01,   // a click acts as a push button's
        LINK_SHOW_VISITED = 0x02,   // the visited colour shows once visited
        LINK_VISITED = 0x04,
    };
    enum
    {
        VERB_OPEN = 0,
        VERB_EDIT = 1,
        VERB_PRINT = 2,
    };
    // The buffer the association's command line is built in, in characters.
    enum { ASSOC_BUFFER_CHARS = 522, ASSOC_VALUE_BYTES = 260 };

    CExtHyperLinkButton();
    virtual ~CExtHyperLinkButton();

    virtual bool OpenWithInternetShortcut(LPCTSTR sURL, int nVerb, bool bShowError);
    virtual bool OpenWithShellExecute(LPCTSTR sURL, int nVerb, bool bShowError);
    virtual bool OpenWithAssociation(LPCTSTR sURL, int nVerb, bool bShowError);
    virtual void DrawLinkText(CDC& dc, const RECT& rc, bool bVisited, bool bEnabled, bool bDrawFocus,
                              bool bFocused, bool bHover, bool bPushed);
    virtual COLORREF GetLinkTextColor(bool bVisited, bool bEnabled, bool bDrawFocus, bool bFocused,
                                      bool bHover, bool bPushed);
    virtual CString GetLinkText();
    virtual bool OpenURL(LPCTSTR sURL, int nVerb, bool bShowError);

    void OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart) override;
    void RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl) override;

    // The address a click opens: the URL field, else the trimmed window text.
    CString GetClickTarget();
    // Web addresses begin with "http://", "file://", "www." or "web.".
    static bool IsWebAddress(LPCTSTR sURL);
    static LPCTSTR GetVerbText(int nVerb);
    // The reason shown for a failed shell or WinExec result code.
    static CString GetErrorReason(int nCode);
    // The command line that opens sURL from the registered command sCommand: cut at
    // the "%1" placeholder, then a blank and the quoted address. false when the address
    // holds a quotation mark or a control character, or the result does not fit the
    // association buffer.
    static bool BuildAssociationCommand(LPCTSTR sCommand, LPCTSTR sURL, CString& strOut);
    // The command registered for the verb of ".htm" files; false when a key is missing,
    // a value is not text or the verb is unknown.
    static bool ReadAssociationCommand(int nVerb, CString& strOut);
    void ShowOpenError(int nCode);
    // The focus box of the text in the (already shrunk) rectangle rc, for a text of
    // the measured size.
    CRect CalcFocusRect(const CRect& rc, CSize sizeText) const;

    CString m_strURL;
    BYTE m_nLinkFlags;
    int m_nTextAlign;
    COLORREF m_clrVisited;
    bool m_bUnderlineOnHover : 1;
};
