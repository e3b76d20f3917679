#include "Questionnaire.h"

QString questionnaire(int fields) {
    QString html = QStringLiteral("<form name='form1'><input id='SubmitButton' type='submit' name='Submit' value='Submit'>");
    for (int i = 0; i < fields; ++i)
        html += QStringLiteral("<input type='text' name='Question%1' value='answer %1'>").arg(i);
    return html + QStringLiteral("</form>");
}

QString bareQuestionnaire(int fields) {
    return questionnaire(fields) +
           QStringLiteral("<div id='answers' style='position:fixed;left:%1px;top:%2px;width:%3px;height:%4px;"
                          "overflow:hidden;background:white'></div>")
               .arg(BareAnswersBox.x()).arg(BareAnswersBox.y()).arg(BareAnswersBox.width()).arg(BareAnswersBox.height());
}

QString bareAnswersScript() {
    return QStringLiteral(
        "document.addEventListener('click', (event) => {"
        " if (event.target.id !== 'SubmitButton') return;"
        " event.preventDefault();"
        " let text = 'Thankyou for filling in the form<BR><BR>';"
        " for (const e of document.getElementsByTagName('*')) {"
        "  const name = e.getAttribute('name');"
        "  if (name !== null && name.includes('Question')) text += name + ' : ' + e.value + '<BR>'; }"
        " document.getElementById('answers').innerHTML = text; });");
}
