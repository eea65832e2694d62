#include "engine/Mandel.h"

#include "engine/Distributions.h"
#include "study/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orbeta {

namespace {

Verdict Beyond(double statistic, double indicator5, double indicator1) {
    const double size = std::fabs(statistic);
    return size > indicator1   ? Verdict::Outlier
           : size > indicator5 ? Verdict::Straggler
                               : Verdict::Correct;
}

double HIndicator(int analysts, double alpha) {
    const double p = analysts;
    const double t =
        boost::math::quantile(boost::math::complement(distributions::StudentsT(p - 2), alpha / 2));
    return (p - 1) * t / std::sqrt(p * (t * t + p - 2));
}

double KIndicator(int analysts, double nu, double alpha) {
    const double p = analysts;
    const double f = boost::math::quantile(
        boost::math::complement(distributions::FisherF(nu, (p - 1) * nu), alpha));
    return std::sqrt(p / (1 + (p - 1) / f));
}

// The sentence of one flagged statistic.
std::string FlagSentence(int analyst, const char* name, double value, Verdict verdict,
                         char separator) {
    const char* level = verdict == Verdict::Outlier ? "1" : "5";
    return "Analista " + std::to_string(analyst) + ": " + name + " = " +
           FormatResult(value, separator) + ", " + VerdictText(verdict) +
           " (por encima del valor indicador del " + level + " %).";
}

} // namespace

MandelStatistics MandelIndicators(int analysts, double nu) {
    MandelStatistics mandel;
    mandel.h1 = HIndicator(analysts, 0.01);
    mandel.h5 = HIndicator(analysts, 0.05);
    mandel.k1 = KIndicator(analysts, nu, 0.01);
    mandel.k5 = KIndicator(analysts, nu, 0.05);
    mandel.nu = nu;
    return mandel;
}

MandelStatistics ComputeMandel(const StudyValues& values) {
    const int p = values.analysts;
    const Design design = values.GetDesign();

    // Each analyst's squares about its days' means and their degrees of freedom, over the
    // results it holds.
    std::vector<double> squares(static_cast<std::size_t>(p), 0.0);
    std::vector<int> dfs(static_cast<std::size_t>(p), 0);
    for (int analyst = 1; analyst <= p; ++analyst) {
        const auto index = static_cast<std::size_t>(analyst - 1);
        for (int day = 1; day <= values.days; ++day) {
            const double dayMean = values.DayMean(analyst, day);
            for (int replicate = 1; replicate <= values.replicates; ++replicate) {
                if (design.HoldsResult({analyst, day, replicate})) {
                    const double deviation = values.Result(analyst, day, replicate) - dayMean;
                    squares[index] += deviation * deviation;
                    ++dfs[index];
                }
            }
            if (!std::isnan(dayMean)) {
                --dfs[index];
            }
        }
    }
    int errorDf = 0;
    for (const int df : dfs) {
        errorDf += df;
    }
    MandelStatistics mandel = MandelIndicators(p, static_cast<double>(errorDf) / p);
    const auto without = std::find(dfs.begin(), dfs.end(), 0);
    if (without != dfs.end()) {
        mandel.analystWithoutK = static_cast<int>(without - dfs.begin()) + 1;
    }

    double meanOfMeans = 0;
    for (const double mean : values.analystMeans) {
        meanOfMeans += mean;
    }
    meanOfMeans /= p;
    double spread = 0;
    for (const double mean : values.analystMeans) {
        spread += (mean - meanOfMeans) * (mean - meanOfMeans);
    }
    const double sdOfMeans = std::sqrt(spread / (p - 1));

    std::vector<double> variances;
    double sumOfVariances = 0;
    if (mandel.analystWithoutK == 0) {
        for (std::size_t index = 0; index < squares.size(); ++index) {
            variances.push_back(squares[index] / dfs[index]);
            sumOfVariances += variances.back();
        }
    }
    const double pooledSd = std::sqrt(sumOfVariances / p);

    for (int analyst = 1; analyst <= p; ++analyst) {
        const auto index = static_cast<std::size_t>(analyst - 1);
        MandelAnalyst figures{analyst, 0, 0, Verdict::Correct, Verdict::Correct};
        if (sdOfMeans > 0) {
            figures.h = (values.analystMeans[index] - meanOfMeans) / sdOfMeans;
        }
        if (pooledSd > 0) {
            figures.k = std::sqrt(variances[index]) / pooledSd;
        }
        figures.hVerdict = Beyond(figures.h, mandel.h5, mandel.h1);
        figures.kVerdict = Beyond(figures.k, mandel.k5, mandel.k1);
        mandel.analysts.push_back(figures);
    }
    return mandel;
}

std::optional<std::string> MandelAbsence(int analysts) {
    if (analysts >= kMandelMinAnalysts) {
        return std::nullopt;
    }
    return "Los estadísticos h y k de Mandel necesitan al menos " +
           std::to_string(kMandelMinAnalysts) + " analistas; este estudio tiene " +
           std::to_string(analysts) + ".";
}

std::optional<std::string> MandelKAbsence(const MandelStatistics& mandel) {
    if (mandel.analystWithoutK == 0) {
        return std::nullopt;
    }
    return "Sin k de Mandel: el analista " + std::to_string(mandel.analystWithoutK) +
           " no tiene ningún día con dos resultados o más.";
}

std::vector<std::string> MandelFlagSentences(const MandelStatistics& mandel, char separator) {
    std::vector<std::string> sentences;
    for (const MandelAnalyst& figures : mandel.analysts) {
        if (figures.hVerdict != Verdict::Correct) {
            sentences.push_back(
                FlagSentence(figures.analyst, "h", figures.h, figures.hVerdict, separator));
        }
        if (figures.kVerdict != Verdict::Correct) {
            sentences.push_back(
                FlagSentence(figures.analyst, "k", figures.k, figures.kVerdict, separator));
        }
    }
    return sentences;
}

} // namespace orbeta
