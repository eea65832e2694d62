#include "ui/HelpBook.h"

#include "ui/helpcons.h"

#include <QHash>

#include <algorithm>

namespace orbeta {

QString HelpFolderOf(const QString& helpFile) {
    return QStringLiteral("qrc:/") + helpFile + QLatin1Char('/');
}

QString PageOfHelpContext(int helpContext) {
    using namespace helpcons;
    static const QHash<int, QString> pages{
        {kFileMenu, QStringLiteral("archivo.html")},
        {kNew, QStringLiteral("captura.html")},
        {kOpen, QStringLiteral("archivo.html#abrir")},
        {kClose, QStringLiteral("archivo.html#cerrar")},
        {kSave, QStringLiteral("archivo.html#guardar")},
        {kSaveAs, QStringLiteral("archivo.html#guardarcomo")},
        {kPrint, QStringLiteral("impresion.html")},
        {kExit, QStringLiteral("archivo.html#salir")},
        {kCalculationsMenu, QStringLiteral("calculos.html")},
        {kAnova, QStringLiteral("anova.html")},
        {kPrecision, QStringLiteral("precision.html")},
        {kPlanner, QStringLiteral("planificacion.html")},
        {kReport, QStringLiteral("informe.html")},
        {kExtendedAnalysis, QStringLiteral("ampliado.html")},
        {kWindowMenu, QStringLiteral("ventana.html")},
        {kHelpMenu, QStringLiteral("ayuda.html")},
        {kHelpContents, QStringLiteral("ayuda.html#contenido")},
        {kHelpSearch, QStringLiteral("ayuda.html#buscar")},
        {kAbout, QStringLiteral("acerca.html")},
        {kVerify, QStringLiteral("verificacion.html")},
    };
    return pages.value(helpContext, QString::fromLatin1(kContentsPage));
}

const QList<HelpKeyword>& HelpKeywords() {
    static const QList<HelpKeyword> keywords = [] {
        QList<HelpKeyword> list{
            {QStringLiteral("Abrir un estudio"), QStringLiteral("archivo.html#abrir")},
            {QStringLiteral("Acerca de"), QStringLiteral("acerca.html")},
            {QStringLiteral("Aceptación, criterio de"), QStringLiteral("ampliado.html#aceptacion")},
            {QStringLiteral("Aceptar nuevo formato"), QStringLiteral("captura.html#formato")},
            {QStringLiteral("Amplitud máxima relativa"), QStringLiteral("precision.html#amplitud")},
            {QStringLiteral("Analistas, número de"), QStringLiteral("captura.html#general")},
            {QStringLiteral("Análisis ampliado"), QStringLiteral("ampliado.html")},
            {QStringLiteral("Análisis de la varianza"), QStringLiteral("anova.html")},
            {QStringLiteral("Archivo, menú"), QStringLiteral("archivo.html")},
            {QStringLiteral("Archivos de estudio"), QStringLiteral("archivo.html#formato")},
            {QStringLiteral("Ayuda, cómo usarla"), QStringLiteral("usar_ayuda.html")},
            {QStringLiteral("Barra de herramientas"), QStringLiteral("pantalla.html#barra")},
            {QStringLiteral("Buscar ayuda"), QStringLiteral("ayuda.html#buscar")},
            {QStringLiteral("Cálculos, menú"), QStringLiteral("calculos.html")},
            {QStringLiteral("Captura de datos"), QStringLiteral("captura.html#datos")},
            {QStringLiteral("Cascada"), QStringLiteral("ventana.html")},
            {QStringLiteral("Cerrar una ventana"), QStringLiteral("archivo.html#cerrar")},
            {QStringLiteral("Coeficiente de variación"), QStringLiteral("precision.html#cv")},
            {QStringLiteral("Cochran, prueba de"), QStringLiteral("ampliado.html#consistencia")},
            {QStringLiteral("Componentes de la varianza"),
             QStringLiteral("ampliado.html#componentes")},
            {QStringLiteral("Conclusiones"), QStringLiteral("anova.html#conclusiones")},
            {QStringLiteral("Contenido de la ayuda"), QStringLiteral("contenido.html")},
            {QStringLiteral("Cuadrícula de resultados"), QStringLiteral("captura.html#datos")},
            {QStringLiteral("Días, número de"), QStringLiteral("captura.html#general")},
            {QStringLiteral("Diseño del estudio, elegir"),
             QStringLiteral("planificacion.html#recomendacion")},
            {QStringLiteral("Disponibilidad de las órdenes"),
             QStringLiteral("pantalla.html#ordenes")},
            {QStringLiteral("Error de método"), QStringLiteral("anova.html#fuentes")},
            {QStringLiteral("Errores, mensajes de"), QStringLiteral("errores.html")},
            {QStringLiteral("F, prueba"), QStringLiteral("anova.html#f")},
            {QStringLiteral("Fecha"), QStringLiteral("captura.html#general")},
            {QStringLiteral("Formato de los números"), QStringLiteral("errores.html#numeros")},
            {QStringLiteral("Gráfico de variabilidad"), QStringLiteral("ampliado.html#grafico")},
            {QStringLiteral("Grados de libertad"), QStringLiteral("anova.html#formulas")},
            {QStringLiteral("Grubbs, prueba de"), QStringLiteral("ampliado.html#consistencia")},
            {QStringLiteral("Intervalos de confianza"), QStringLiteral("ampliado.html#intervalos")},
            {QStringLiteral("Guardar"), QStringLiteral("archivo.html#guardar")},
            {QStringLiteral("Guardar como"), QStringLiteral("archivo.html#guardarcomo")},
            {QStringLiteral("Imprimir"), QStringLiteral("impresion.html")},
            {QStringLiteral("Informe"), QStringLiteral("informe.html")},
            {QStringLiteral("Lasser"), QStringLiteral("impresion.html")},
            {QStringLiteral("Línea de estado"), QStringLiteral("pantalla.html#estado")},
            {QStringLiteral("Media de cuadrados"), QStringLiteral("anova.html#formulas")},
            {QStringLiteral("MLS, intervalo"), QStringLiteral("ampliado.html#intervalos")},
            {QStringLiteral("Modificado"), QStringLiteral("pantalla.html#estado")},
            {QStringLiteral("Mosaico"), QStringLiteral("ventana.html")},
            {QStringLiteral("Nombre del método"), QStringLiteral("captura.html#general")},
            {QStringLiteral("Nuevo estudio"), QStringLiteral("captura.html")},
            {QStringLiteral("Planificar un estudio"), QStringLiteral("planificacion.html")},
            {QStringLiteral("Precisión de método"), QStringLiteral("precision.html")},
            {QStringLiteral("P exacta"), QStringLiteral("ampliado.html#pruebasf")},
            {QStringLiteral("Probabilidad (Pfcal)"), QStringLiteral("anova.html#f")},
            {QStringLiteral("Promedio"), QStringLiteral("precision.html#promedio")},
            {QStringLiteral("Replicaciones, número de"), QStringLiteral("captura.html#general")},
            {QStringLiteral("Repetibilidad"), QStringLiteral("precision.html#repetibilidad")},
            {QStringLiteral("Reproducibilidad"), QStringLiteral("precision.html#reproducibilidad")},
            {QStringLiteral("Salir"), QStringLiteral("archivo.html#salir")},
            {QStringLiteral("Separador decimal"), QStringLiteral("errores.html#numeros")},
            {QStringLiteral("Significancia, nivel de 0.05"),
             QStringLiteral("anova.html#conclusiones")},
            {QStringLiteral("Suma de cuadrados"), QStringLiteral("anova.html#formulas")},
            {QStringLiteral("Verificaciones del estudio"), QStringLiteral("verificaciones.html")},
            {QStringLiteral("Verificar la instalación"), QStringLiteral("verificacion.html")},
        };
        std::sort(list.begin(), list.end(), [](const HelpKeyword& left, const HelpKeyword& right) {
            return SearchForm(left.keyword) < SearchForm(right.keyword);
        });
        return list;
    }();
    return keywords;
}

QString SearchForm(const QString& text) {
    QString plain;
    for (const QChar character : text.normalized(QString::NormalizationForm_D)) {
        if (character.category() != QChar::Mark_NonSpacing) {
            plain.append(character);
        }
    }
    return plain.toCaseFolded();
}

} // namespace orbeta
