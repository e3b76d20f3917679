#include "content/basGlobal.h"

namespace basGlobal {

int32_t PageState = 0;
QString ProductPageHTML;
QString FormsPageHTML;

void BuildPages() {
    // Fragments are joined without separators: each page is a single line of markup.
    ProductPageHTML = QString::fromUtf16(
        u"<table width='100%'  border='0'>"
        u"  <tr>"
        u"    <td width='96%' valign='top'><p align='center'>Tarvo Lumetto ActiveX Control</p>"
        u"      <p align='left'>Features</p>      <ul><li>Display media rich content via HTML in your applications</li>"
        u"        <li>Binds to your datasource</li>"
        u"        <li>Track users mouse clicks</li>"
        u"        <li>Supports the addition of any number of custom right-click context menu items </li>"
        u"      </ul>"
        u"      <p>With the Lumetto you can </p>"
        u"      <ul>"
        u"        <li>Display templated richmedia content </li>"
        u"        <li>Collect information from HTML <A href=Forms>forms</A> </li>"
        u"        <li>Show text and images in the one control</li>"
        u"        <li>Allow users to naviagte through data</li>"
        u"        <li>The possibilites are endless</li>"
        u"    </ul>"
        u"      <p align=center><B>And, its only $US20</B><br><BR>"
        u"    </p>    </td>"
        u"    <td width='4%' valign='top'><div align='right'><img src='icon-logo.gif' width='32' height='32' align='top'></div></td>"
        u"  </tr>"
        u"  <tr>"
        u"    <td>A Lumetto activeX control for any software developer. Integrates easily into any development environment that support activeX controls. Perfect for the programmer who wants to display media rich content in HTML format in their applications."
        u"      <p>Supports HTML input as a string or URL. CSS can by included from a URL or a valid CSS rules string. Mouse clicks can be tracked and users can copy HTML from the control as text or HTML. <br>"
        u"    </p></td>"
        u"    <td valign='bottom'><img src='icon-logo.gif' width='32' height='32' align='top'></td>"
        u"  </tr>"
        u"</table>");
    FormsPageHTML = QString::fromUtf16(
        u"<form name='form1' method='post' action=''>"
        u"  <table width='100%'  border='0'>"
        u"    <tr>"
        u"      <td valign='top'>Your Name is ? </td>"
        u"      <td valign='top'><input type='text' name='Question1'></td>"
        u"    </tr>"
        u"    <tr>"
        u"      <td width='47%' valign='top'><p align='left'>Forms are easy to fill in ? <br>"
        u"      </p></td>"
        u"      <td width='53%' valign='top'>"
        u"        <div align='left'>"
        u"          <select name='Question2' id='Question2'>"
        u"            <option value='Yes' selected>Yes</option>"
        u"            <option value='No'>No</option>"
        u"          </select>"
        u"        </div></td>"
        u"    </tr>"
        u"    <tr>"
        u"      <td><p>"
        u"        <input id='SubmitButton' type='submit' name='Submit' value='Submit'>"
        u"        <br>"
        u"      </p></td>"
        u"      <td valign='bottom'><img src='icon-logo.gif' width='32' height='32' align='top'></td>"
        u"    </tr>"
        u"  </table>"
        u"</form>");
}

}  // namespace basGlobal
