     3 < Number of models ranked
 Model     -nln[L] #Prms        AICc       dAICc      AIC Wt                            Algorithm file                           Covariance file  Notes>
     1  5.0000E+01     4  1.0889E+02  0.0000E+00     0.48029                                model1.alg                                model1.cov  
     2  5.0000E+01     4  1.0889E+02  0.0000E+00     0.48029                           meadow_beta.alg                           meadow_beta.cov  best guess,  with blanks
     3  5.2500E+01     4  1.1389E+02  5.0000E+00     0.03942  meadow_binomial_all_species_free_and_unf  meadow_binomial_all_species_free_and_unf  

Parameter estimates and their SEs resulting from averaging across all ranked models.
Each model contributes to the reported averages according to its AIC Weight.
SEs will report a value of -1 if any model is missing an estimate for SE.

Parameter_#  Parameter_Value     SEs_Grid_#1     SEs_Grid_#2     SEs_Grid_#3
          1       9.5394E+00      9.3671E-01      9.3671E-01      9.3671E-01
          2       1.0539E+01      9.3671E-01      9.3671E-01      9.3671E-01
          3       1.1539E+01      9.3671E-01      9.3671E-01      9.3671E-01
          4       1.2539E+01      9.3671E-01      9.3671E-01      9.3671E-01
          5       5.0000E-01      0.0000E+00      0.0000E+00      0.0000E+00
          6       5.0000E-01      0.0000E+00      0.0000E+00      0.0000E+00

