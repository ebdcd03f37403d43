     2 < Number of models ranked
 Model     -nln[L] #Prms        AICc       dAICc      AIC Wt                            Algorithm file                           Covariance file  Notes>
     1  1.2990E+02    13  2.9041E+02  0.0000E+00     1.00000                              meadow_c.alg                              meadow_c.cov  
     2  1.3967E+02    24  3.4499E+02  5.4574E+01     0.00000                              meadow_b.alg                              meadow_b.cov  
