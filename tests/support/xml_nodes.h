// A document's nodes, one line each, as the platform's XML document object reads a file:
// for comparing a file the program edited with the document it should be, node for node
// (comments, processing instructions, attributes in order, white space), whatever bytes
// the document object chose for them.
#pragma once
#include <windows.h>
#include <msxml.h>
#include <oleauto.h>
#include <string>

namespace xmlnodes {

inline std::string Utf8(const wchar_t* text, UINT length) {
    if (!text || !length) return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &out[0], bytes, nullptr, nullptr);
    return out;
}

inline std::string Take(BSTR text) {
    std::string out = Utf8(text, text ? SysStringLen(text) : 0);
    SysFreeString(text);
    return out;
}

inline void Dump(IXMLDOMNode* node, int depth, std::string& out) {
    DOMNodeType type = NODE_INVALID;
    node->get_nodeType(&type);
    BSTR name = nullptr;
    node->get_nodeName(&name);
    out += std::string(depth * 2, ' ') + std::to_string(type) + " " + Take(name);
    if (type == NODE_TEXT || type == NODE_COMMENT || type == NODE_CDATA_SECTION ||
        type == NODE_PROCESSING_INSTRUCTION) {
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(node->get_nodeValue(&value)) && value.vt == VT_BSTR) {
            std::string text = Take(value.bstrVal);
            value.vt = VT_EMPTY;
            std::string shown;
            for (char c : text) shown += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
            out += " [" + shown + "]";
        }
        VariantClear(&value);
    }
    IXMLDOMNamedNodeMap* attributes = nullptr;
    if (type == NODE_ELEMENT && SUCCEEDED(node->get_attributes(&attributes)) && attributes) {
        long count = 0;
        attributes->get_length(&count);
        for (long i = 0; i < count; ++i) {
            IXMLDOMNode* attribute = nullptr;
            if (attributes->get_item(i, &attribute) != S_OK || !attribute) continue;
            BSTR attributeName = nullptr, text = nullptr;
            attribute->get_nodeName(&attributeName);
            attribute->get_text(&text);
            out += " " + Take(attributeName) + "=\"" + Take(text) + "\"";
            attribute->Release();
        }
        attributes->Release();
    }
    out += "\n";
    IXMLDOMNode* child = nullptr;
    if (node->get_firstChild(&child) != S_OK) child = nullptr;
    while (child) {
        Dump(child, depth + 1, out);
        IXMLDOMNode* next = nullptr;
        if (child->get_nextSibling(&next) != S_OK) next = nullptr;
        child->Release();
        child = next;
    }
}

// The nodes of the file at `path` below the document (the XML declaration left out: its
// bytes belong to the document object), or "(not read)".
inline std::string OfFile(const std::string& path) {
    static const CLSID kDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
    static const IID kDocumentInterface = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
    CoInitialize(nullptr);
    IXMLDOMDocument* document = nullptr;
    if (FAILED(CoCreateInstance(kDocument, nullptr, CLSCTX_ALL, kDocumentInterface,
                                reinterpret_cast<void**>(&document))) || !document)
        return "(no document object)";
    document->put_async(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_TRUE);
    const int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(units > 0 ? units : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], units);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(wide.c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    std::string out;
    if (SUCCEEDED(document->load(source, &loaded)) && loaded == VARIANT_TRUE) {
        IXMLDOMNode* child = nullptr;
        if (document->get_firstChild(&child) != S_OK) child = nullptr;
        while (child) {
            BSTR name = nullptr;
            child->get_nodeName(&name);
            const bool declaration = name && wcscmp(name, L"xml") == 0;
            SysFreeString(name);
            if (!declaration) Dump(child, 0, out);
            IXMLDOMNode* next = nullptr;
            if (child->get_nextSibling(&next) != S_OK) next = nullptr;
            child->Release();
            child = next;
        }
    } else {
        out = "(not read)";
    }
    VariantClear(&source);
    document->Release();
    return out;
}

}  // namespace xmlnodes
